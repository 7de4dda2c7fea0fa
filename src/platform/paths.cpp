#include "platform/paths.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "files/utf8_path.h"

namespace zoa::platform {

namespace fs = std::filesystem;

namespace {

constexpr const char* kGameFolder = "zoa_noli";
constexpr const char* kSettingsName = "settings.ini";

[[maybe_unused]] std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

bool HasDataFolder(const std::string& folder) {
    std::error_code ec;
    return !folder.empty() && fs::is_directory(files::FsPath(folder) / "data", ec);
}

bool IsFile(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(files::FsPath(path), ec);
}

}  // namespace

std::string JoinPath(const std::string& folder, const std::string& name) {
    return files::Utf8((files::FsPath(folder) / files::FsPath(name)).lexically_normal());
}

#ifdef _WIN32
std::string AppDataFolder() {
    const wchar_t* folder = _wgetenv(L"APPDATA");
    return folder && *folder ? files::Utf8(fs::path(folder)) : "";
}
#endif

std::string Paths::ScreenshotFolder() const {
    return userFolder.empty() ? "" : JoinPath(userFolder, kScreenshotFolderName);
}

PathRequest PathRequest::FromEnvironment() {
    PathRequest r;
    r.exeFolder = ExecutableFolder();
#ifdef ZOA_INSTALL_SHARE_DIR
    r.installedShare = ZOA_INSTALL_SHARE_DIR;
#endif
#ifdef _WIN32
    // Settings and saves both go to %APPDATA%\zoa_noli, where Windows keeps
    // what a program writes for its user.
    r.xdgConfigHome = r.xdgDataHome = AppDataFolder();
#else
    r.xdgConfigHome = Env("XDG_CONFIG_HOME");
    r.xdgDataHome = Env("XDG_DATA_HOME");
    r.home = Env("HOME");
#endif
    return r;
}

Paths ResolvePaths(const PathRequest& r) {
    Paths p;
    const auto tryData = [&](const std::string& folder, const char* why) {
        if (!p.dataRoot.empty() || folder.empty()) return;
        p.dataSearched.push_back(folder);
        if (HasDataFolder(folder)) {
            p.dataRoot = folder;
            p.dataFrom = why;
        }
    };
    if (!r.dataDir.empty()) {
        // Asked for by name: used even when it holds nothing, so the message
        // about missing data names it.
        p.dataRoot = r.dataDir;
        p.dataFrom = "--data";
        p.dataSearched.push_back(r.dataDir);
    }
    tryData(r.exeFolder, "beside the program");
    if (!r.exeFolder.empty())
        tryData(JoinPath(r.exeFolder, std::string("../share/") + kGameFolder), "installed");
    if (!r.installedShare.empty()) tryData(JoinPath(r.installedShare, kGameFolder), "installed");
    tryData(".", "current folder");
    if (p.dataRoot.empty()) {
        p.dataRoot = ".";
        p.dataFrom = "current folder";
    }

    const std::string beside = r.exeFolder.empty() ? "" : JoinPath(r.exeFolder, kSettingsName);
    if (!r.configFile.empty()) {
        p.settingsFile = r.configFile;
    } else if (!beside.empty() && IsFile(beside)) {
        p.settingsFile = beside;
        p.portable = true;
    } else if (!r.xdgConfigHome.empty()) {
        p.settingsFile = JoinPath(JoinPath(r.xdgConfigHome, kGameFolder), kSettingsName);
    } else if (!r.home.empty()) {
        p.settingsFile = JoinPath(JoinPath(r.home, ".config/zoa_noli"), kSettingsName);
    }

    if (!r.saveDir.empty()) {
        p.userFolder = r.saveDir;
    } else if (p.portable) {
        p.userFolder = r.exeFolder;
    } else if (!r.xdgDataHome.empty()) {
        p.userFolder = JoinPath(r.xdgDataHome, kGameFolder);
    } else if (!r.home.empty()) {
        p.userFolder = JoinPath(r.home, std::string(".local/share/") + kGameFolder);
    }
    return p;
}

}  // namespace zoa::platform
