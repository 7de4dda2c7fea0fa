#include "platform/user_folder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "files/utf8_path.h"
#include "platform/paths.h"

namespace zoa::platform {

bool MakeFolders(const std::string& path) {
    std::error_code ec;
    std::filesystem::create_directories(files::FsPath(path), ec);
    return std::filesystem::is_directory(files::FsPath(path), ec);
}

std::string DefaultUserFolder() {
    std::string base;
#ifdef _WIN32
    base = AppDataFolder();
    if (base.empty()) return {};
#else
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) {
        base = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        base = std::string(home) + "/.local/share";
    } else {
        return {};
    }
#endif
    const std::string folder = base + "/zoa_noli";
    MakeFolders(folder);
    return folder;
}

}  // namespace zoa::platform
