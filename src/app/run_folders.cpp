#include "app/run_folders.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "files/utf8_path.h"
#include "gfx/sheet_image.h"
#include "play/load_sounds.h"
#include "play/sheets.h"
#include "sound/sound_system.h"

namespace zoa {

namespace fs = std::filesystem;

namespace {

std::string Slashes(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

// A path as the player's system writes it: Windows users read and paste
// folders with backslashes.
std::string Shown(std::string path) {
#ifdef _WIN32
    std::replace(path.begin(), path.end(), '/', '\\');
#endif
    return path;
}

std::string Absolute(const std::string& path) {
    std::error_code ec;
    const fs::path full = fs::absolute(files::FsPath(path), ec);
    return ec ? path : files::Utf8(full.lexically_normal());
}

}  // namespace

platform::Paths ResolveRunPaths(const Options& options) {
    platform::PathRequest request = platform::PathRequest::FromEnvironment();
    request.dataDir = options.dataDir;
    request.configFile = options.configFile;
    request.saveDir = options.saveDir;
    return platform::ResolvePaths(request);
}

std::string DescribePaths(const platform::Paths& paths) {
    std::error_code ec;
    std::string text;
    const auto line = [&](const char* what, const std::string& value, const std::string& note) {
        text += what;
        text += value.empty() ? "(none)" : Shown(value);
        if (!note.empty()) text += "  (" + note + ")";
        text += '\n';
    };
    const std::string missing = FirstMissingDataFile(paths.dataRoot);
    line("data:        ", Absolute(paths.dataRoot) + "/data",
         paths.dataFrom + (missing.empty() ? "" : "; " + missing + " is missing"));
    std::string searched;
    for (const std::string& folder : paths.dataSearched) {
        searched += (searched.empty() ? "" : ", ") + Absolute(folder);
    }
    line("searched:    ", searched, "");
    const bool settingsThere =
        !paths.settingsFile.empty() && fs::is_regular_file(files::FsPath(paths.settingsFile), ec);
    line("settings:    ", paths.settingsFile.empty() ? "" : Absolute(paths.settingsFile),
         std::string(paths.portable ? "portable; " : "") +
             (settingsThere ? "read at start" : "not written yet: defaults"));
    line("user folder: ", paths.userFolder.empty() ? "" : Absolute(paths.userFolder), "");
    line("saved game:  ",
         paths.userFolder.empty() ? "" : Absolute(paths.userFolder) + "/temp/USER.MAP", "");
    line("screenshots: ", paths.userFolder.empty() ? "" : Absolute(paths.ScreenshotFolder()),
         "F12");
    return text;
}

std::string FirstMissingDataFile(const std::string& dataRoot) {
    std::error_code ec;
    const auto missing = [&](const std::string& gamePath) {
        return !fs::is_regular_file(files::FsPath(dataRoot) / Slashes(gamePath), ec);
    };
    for (const SheetInfo& sheet : kSheets) {
        const std::string path = Slashes(PackedSheetPath(sheet.path));
        if (missing(path)) return path;
    }
    if (missing(kPaletteFilePath)) return Slashes(kPaletteFilePath);
    for (int32_t i = 0; i < SoundFileCount(); ++i) {
        if (missing(SoundFilePath(i))) return Slashes(SoundFilePath(i));
    }
    return {};
}

std::string MissingDataMessage(const platform::Paths& paths, const std::string& missing) {
    std::error_code ec;
    const std::string folder = Absolute(paths.dataRoot) + "/data";
    const bool exists = fs::is_directory(files::FsPath(folder), ec);
    // Pointing at data/ itself is the usual slip: its sheets are right there.
    const bool dataItself =
        fs::is_regular_file(files::FsPath(paths.dataRoot) / "nbm" / "SPl.nbm", ec);
    return "the game's data is missing or incomplete: looked in " + folder +
           (exists ? "" : " (no such folder)") + "; the first file missing is " +
           missing.substr(missing.find('/') + 1) +
           ". Name the folder that holds data/ with --data DIR" +
           (dataItself ? " (" + Absolute(paths.dataRoot) +
                             " is the data folder itself: did you mean the folder above it?)"
                       : "") +
           ".";
}

}  // namespace zoa
