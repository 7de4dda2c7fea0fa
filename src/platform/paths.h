#pragma once
#include <string>
#include <vector>

namespace zoa::platform {

// What decides where the game's folders are: the command line, where the
// program lies, and the environment.
struct PathRequest {
    std::string dataDir;         // --data: the folder that holds data/
    std::string configFile;      // --config
    std::string saveDir;         // --save-dir
    std::string exeFolder;       // the folder of the program ("" when unknown)
    std::string installedShare;  // the share folder the build was installed to
    std::string xdgConfigHome;
    std::string xdgDataHome;
    std::string home;

    // The program's own folder, the install's share folder and the environment.
    static PathRequest FromEnvironment();
};

// The folders of one run.
struct Paths {
    std::string dataRoot;  // holds data/
    std::string dataFrom;  // why: "--data", "beside the program", "installed", "current folder"
    std::vector<std::string> dataSearched;  // every folder looked in, in order
    std::string settingsFile;               // "" when there is no place for one
    bool portable = false;                  // settings (and saves) beside the program
    std::string userFolder;                 // the saved game lives in <userFolder>/temp/USER.MAP
    std::string ScreenshotFolder() const;
};

// The data is searched for in this order: --data; a data/ folder beside the
// program (a portable copy, or the build folder); the installed share folder
// (found relative to the program, then where the build was configured to
// install); the current folder. The settings file is --config, else
// settings.ini beside the program (portable mode: saves go there too), else
// $XDG_CONFIG_HOME/zoa_noli/settings.ini. Saves go to --save-dir, else the
// portable folder, else $XDG_DATA_HOME/zoa_noli. Nothing is created here.
Paths ResolvePaths(const PathRequest& request);

// Screenshots go to this folder inside the user folder.
inline constexpr const char* kScreenshotFolderName = "screenshots";

// `name` inside `folder`, with the system's own separators.
std::string JoinPath(const std::string& folder, const std::string& name);

// The folder of the running program, or "" when the system does not say
// (platform/program_start.cpp).
std::string ExecutableFolder();

#ifdef _WIN32
// %APPDATA%, the user's own folder for what programs write ("" when unset).
std::string AppDataFolder();
#endif

}  // namespace zoa::platform
