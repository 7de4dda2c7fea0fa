#include "platform/data_path.h"

#include <algorithm>

namespace zoa {

namespace {
std::string& Root() {
    static std::string root = ".";
    return root;
}
}  // namespace

void SetDataRoot(const std::string& root) {
    Root() = root.empty() ? "." : root;
}

std::string DataPath(std::string_view gamePath) {
    std::string relative(gamePath);
    std::replace(relative.begin(), relative.end(), '\\', '/');
    return Root() + "/" + relative;
}

}  // namespace zoa
