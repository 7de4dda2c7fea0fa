#include <gtest/gtest.h>

#include <filesystem>

#include "app/run_folders.h"
#include "platform/paths.h"
#include "sound_fixture.h"
#include "test_support.h"

namespace zoa::platform {
namespace {

namespace fs = std::filesystem;

// A made-up installation: bin/ with the program, share/zoa_noli/, a second
// prefix the build was configured for, a home with its config and data folders.
struct Layout {
    test::TempDir dir;
    // With the system's own separators, as the program's folder comes.
    std::string Path(const std::string& relative) const {
        return (dir.path() / fs::path(relative).make_preferred()).string();
    }
    void Folder(const std::string& relative) const {
        fs::create_directories(dir.path() / relative);
    }
    PathRequest Request() const {
        PathRequest r;
        r.exeFolder = Path("prefix/bin");
        r.installedShare = Path("configured/share");
        r.xdgConfigHome = Path("home/.config");
        r.xdgDataHome = Path("home/.local/share");
        r.home = Path("home");
        return r;
    }
};

std::string Normal(const std::string& p) {
    return fs::path(p).lexically_normal().string();
}

TEST(Paths, DataIsSearchedInItsOrderAndEveryFolderTriedIsListed) {
    Layout l;
    l.Folder("prefix/bin");
    PathRequest r = l.Request();
    // Nothing anywhere: the current folder, after everything else was tried.
    Paths p = ResolvePaths(r);
    EXPECT_EQ(p.dataRoot, ".");
    EXPECT_EQ(p.dataFrom, "current folder");
    EXPECT_EQ(p.dataSearched,
              (std::vector<std::string>{Normal(l.Path("prefix/bin")),
                                        Normal(l.Path("prefix/share/zoa_noli")),
                                        Normal(l.Path("configured/share/zoa_noli")), "."}));

    l.Folder("configured/share/zoa_noli/data");
    p = ResolvePaths(r);
    EXPECT_EQ(p.dataRoot, Normal(l.Path("configured/share/zoa_noli")));
    EXPECT_EQ(p.dataFrom, "installed");

    // The install found from the program's own place wins over the configured one.
    l.Folder("prefix/share/zoa_noli/data");
    p = ResolvePaths(r);
    EXPECT_EQ(p.dataRoot, Normal(l.Path("prefix/share/zoa_noli")));
    EXPECT_EQ(p.dataSearched.size(), 2u);

    // A portable copy beside the program wins over any install.
    l.Folder("prefix/bin/data");
    p = ResolvePaths(r);
    EXPECT_EQ(p.dataRoot, Normal(l.Path("prefix/bin")));
    EXPECT_EQ(p.dataFrom, "beside the program");

    // --data wins over everything, even when it holds nothing.
    r.dataDir = l.Path("elsewhere");
    p = ResolvePaths(r);
    EXPECT_EQ(p.dataRoot, l.Path("elsewhere"));
    EXPECT_EQ(p.dataFrom, "--data");
}

TEST(Paths, SettingsAndSavesGoToTheUserFoldersUnlessPortableOrNamed) {
    Layout l;
    l.Folder("prefix/bin");
    PathRequest r = l.Request();
    Paths p = ResolvePaths(r);
    EXPECT_EQ(p.settingsFile, Normal(l.Path("home/.config/zoa_noli/settings.ini")));
    EXPECT_FALSE(p.portable);
    EXPECT_EQ(p.userFolder, Normal(l.Path("home/.local/share/zoa_noli")));
    EXPECT_EQ(p.ScreenshotFolder(), Normal(l.Path("home/.local/share/zoa_noli/screenshots")));

    // Without XDG variables: the usual folders under the home.
    r.xdgConfigHome.clear();
    r.xdgDataHome.clear();
    p = ResolvePaths(r);
    EXPECT_EQ(p.settingsFile, Normal(l.Path("home/.config/zoa_noli/settings.ini")));
    EXPECT_EQ(p.userFolder, Normal(l.Path("home/.local/share/zoa_noli")));

    // A settings file beside the program makes the copy portable: saves go there too.
    test::WriteBytes(l.Path("prefix/bin/settings.ini"), {});
    p = ResolvePaths(r);
    EXPECT_TRUE(p.portable);
    EXPECT_EQ(p.settingsFile, Normal(l.Path("prefix/bin/settings.ini")));
    EXPECT_EQ(p.userFolder, l.Path("prefix/bin"));

    // --config and --save-dir go before all of it.
    r.configFile = l.Path("mine.ini");
    r.saveDir = l.Path("saves");
    p = ResolvePaths(r);
    EXPECT_FALSE(p.portable);
    EXPECT_EQ(p.settingsFile, l.Path("mine.ini"));
    EXPECT_EQ(p.userFolder, l.Path("saves"));

    // No home at all: no settings file and no user folder, and nothing fails.
    PathRequest bare;
    p = ResolvePaths(bare);
    EXPECT_EQ(p.settingsFile, "");
    EXPECT_EQ(p.userFolder, "");
    EXPECT_EQ(p.ScreenshotFolder(), "");
}

TEST(DataCheck, NamesTheFirstMissingFileAndTheFolderLookedIn) {
    test::TempDir dir;
    EXPECT_EQ(FirstMissingDataFile(dir.str()), "data/nbm/SPl.nbm");
    test::WriteFixtureSheets(dir.str());
    EXPECT_EQ(FirstMissingDataFile(dir.str()), "data/sound/A.WAV");
    test::WriteFixtureSounds(dir.str());
    EXPECT_EQ(FirstMissingDataFile(dir.str()), "");
    fs::remove(dir.path() / "data/nbm/SP.PAL");
    fs::remove(dir.path() / "data/sound/3.WAV");
    EXPECT_EQ(FirstMissingDataFile(dir.str()), "data/nbm/SP.PAL");

    Paths paths;
    paths.dataRoot = dir.str();
    const std::string message = MissingDataMessage(paths, "data/nbm/SP.PAL");
    EXPECT_NE(message.find(dir.str() + "/data"), std::string::npos) << message;
    EXPECT_NE(message.find("nbm/SP.PAL"), std::string::npos) << message;
    EXPECT_EQ(message.find("no such folder"), std::string::npos) << message;
    paths.dataRoot = dir.str() + "/nowhere";
    EXPECT_NE(MissingDataMessage(paths, "data/nbm/SPl.nbm").find("no such folder"),
              std::string::npos);
}

}  // namespace
}  // namespace zoa::platform
