#include "platform/user_folder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace zoa::platform {

bool MakeFolders(const std::string& path) {
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    return std::filesystem::is_directory(path, ec);
}

std::string DefaultUserFolder() {
    std::string base;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) {
        base = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        base = std::string(home) + "/.local/share";
    } else {
        return {};
    }
    const std::string folder = base + "/zoa_noli";
    MakeFolders(folder);
    return folder;
}

}  // namespace zoa::platform
