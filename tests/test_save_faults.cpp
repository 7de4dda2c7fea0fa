// The saved game against a failing disk: a write that breaks off midway, a full
// disk, a folder that cannot be written. The old save must stay as it was, no
// temporary file may be left behind, the failure must be reported, and the
// game must go on. The faults come from the file writer's test seam and, where
// the system can give them, from the system itself.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/input.h"
#include "files/le_words.h"
#include "files/replace_file.h"
#include "flow_support.h"
#include "play/stage_file.h"
#include "play/stage_loader.h"
#include "sim/sprite_pool.h"
#include "stage_test_support.h"

namespace zoa::test {
namespace {

namespace fs = std::filesystem;
using files::FileFault;
using files::FileStep;

std::vector<uint8_t> Bytes(size_t n, uint8_t seed) {
    std::vector<uint8_t> b(n);
    for (size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>(seed + i * 7);
    return b;
}

std::vector<uint8_t> FileBytes(const std::string& path) {
    std::vector<uint8_t> b;
    ReadWholeFile(path, b);
    return b;
}

// The faults of a failing disk, as the writer's steps meet them.
struct Fault {
    const char* what;
    FileFault fault;
};
const Fault kFaults[] = {
    {"read-only folder: the temporary file cannot be made", {FileStep::kOpen, 1, EACCES, 0}},
    {"read-only file system", {FileStep::kOpen, 1, EROFS, 0}},
    {"a write breaks off midway", {FileStep::kWrite, 3, EIO, 1000}},
    {"the disk fills up midway", {FileStep::kWrite, 2, ENOSPC, 1500}},
    {"the disk is full at the first write", {FileStep::kWrite, 1, ENOSPC, 0}},
    {"the disk is full when flushing", {FileStep::kSync, 1, ENOSPC, 0}},
    {"flushing fails", {FileStep::kSync, 1, EIO, 0}},
    {"the disk is full on close", {FileStep::kClose, 1, ENOSPC, 0}},
    {"the rename is refused", {FileStep::kRename, 1, EACCES, 0}},
};

class ReplaceFileFaults : public ::testing::Test {
  protected:
    void TearDown() override { files::ClearFileFault(); }
    std::string Path(const std::string& name) const { return dir.str() + "/" + name; }

#ifndef _WIN32
    // Replaces `path` as a user without root's rights (as root: in a child that
    // has given them up for those of "nobody"); "" when it worked, otherwise
    // the system's reason.
    static std::string SaveAsOrdinaryUser(const std::string& path,
                                          const std::vector<uint8_t>& bytes) {
        if (::geteuid() != 0) return Reason(path, bytes);
        int pipeEnds[2];
        if (::pipe(pipeEnds) != 0) return "no pipe";
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(pipeEnds[0]);
            constexpr uid_t kNobody = 65534;
            const std::string reason = (::setgid(kNobody) == 0 && ::setuid(kNobody) == 0)
                                           ? Reason(path, bytes)
                                           : "could not become an ordinary user";
            const bool sent = ::write(pipeEnds[1], reason.data(), reason.size()) ==
                              static_cast<ssize_t>(reason.size());
            ::_exit(sent ? 0 : 1);
        }
        ::close(pipeEnds[1]);
        std::string reason;
        char chunk[256];
        for (ssize_t n; (n = ::read(pipeEnds[0], chunk, sizeof chunk)) > 0;)
            reason.append(chunk, n);
        ::close(pipeEnds[0]);
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? reason : "the child failed";
    }
#endif
    static std::string Reason(const std::string& path, const std::vector<uint8_t>& bytes) {
        std::string error;
        if (files::ReplaceFile(path, bytes, &error)) return "";
        return error.find(std::strerror(EACCES)) != std::string::npos ? std::strerror(EACCES)
                                                                      : error;
    }

    TempDir dir;
};

TEST_F(ReplaceFileFaults, EveryFailingStepKeepsTheOldFileAndLeavesNoTemporary) {
    const std::string path = Path("USER.MAP");
    const std::vector<uint8_t> old = Bytes(5000, 1);
    const std::vector<uint8_t> next = Bytes(6000, 2);
    ASSERT_TRUE(files::ReplaceFile(path, old, nullptr));
    for (const Fault& f : kFaults) {
        SCOPED_TRACE(f.what);
        files::SetFileFault(f.fault);
        std::string error;
        EXPECT_FALSE(files::ReplaceFile(path, next, &error));
        EXPECT_NE(error.find(std::strerror(f.fault.error)), std::string::npos) << error;
        EXPECT_EQ(FileBytes(path), old);
        EXPECT_FALSE(fs::exists(path + ".new"));
    }
    // Short writes alone are no fault: the writer goes on until all is written.
    files::SetFileFault({FileStep::kWrite, 1000, EIO, 700});
    ASSERT_TRUE(files::ReplaceFile(path, next, nullptr));
    EXPECT_EQ(FileBytes(path), next);
    EXPECT_FALSE(fs::exists(path + ".new"));
}

TEST_F(ReplaceFileFaults, RealFaultsOfTheSystemKeepTheOldFile) {
    const std::vector<uint8_t> old = Bytes(3000, 3);
    const std::vector<uint8_t> next = Bytes(4000, 4);
    std::string error;

    // A full disk: the temporary file leads to /dev/full, where every write fails.
    if (fs::exists("/dev/full")) {
        const std::string path = Path("full/USER.MAP");
        fs::create_directories(Path("full"));
        ASSERT_TRUE(files::ReplaceFile(path, old, nullptr));
        fs::create_symlink("/dev/full", path + ".new");
        EXPECT_FALSE(files::ReplaceFile(path, next, &error));
        EXPECT_NE(error.find(std::strerror(ENOSPC)), std::string::npos) << error;
        EXPECT_EQ(FileBytes(path), old);
        EXPECT_FALSE(fs::exists(fs::symlink_status(path + ".new")));
        EXPECT_TRUE(fs::exists("/dev/full"));
    }

    // A folder that is a file.
    WriteBytes(Path("plain"), old);
    EXPECT_FALSE(files::ReplaceFile(Path("plain/USER.MAP"), next, &error));
#ifdef _WIN32
    // Windows says the path does not exist.
    EXPECT_NE(error.find(std::strerror(ENOENT)), std::string::npos) << error;
#else
    EXPECT_NE(error.find(std::strerror(ENOTDIR)), std::string::npos) << error;
#endif
    EXPECT_EQ(FileBytes(Path("plain")), old);

#ifndef _WIN32
    // (A Windows folder has no write permission to take away: its read-only
    // attribute does not stop files being made in it.)
    // A folder the user may not write in. Root may write anywhere, so as root
    // (as in CI) the saves are made by a child process that has become an
    // ordinary user; the same user saves into an open folder first, so the
    // refusal is the lock's and nothing else's.
    const std::string open = Path("open/USER.MAP");
    const std::string locked = Path("locked/USER.MAP");
    fs::create_directories(Path("open"));
    fs::create_directories(Path("locked"));
    ASSERT_TRUE(files::ReplaceFile(locked, old, nullptr));
    ASSERT_EQ(::chmod(Path("open").c_str(), 0777), 0);
    ASSERT_EQ(::chmod(Path("locked").c_str(), 0555), 0);
    EXPECT_EQ(SaveAsOrdinaryUser(open, next), "");
    EXPECT_EQ(SaveAsOrdinaryUser(locked, next), std::strerror(EACCES));
    ::chmod(Path("locked").c_str(), 0755);
    EXPECT_EQ(FileBytes(open), next);
    EXPECT_EQ(FileBytes(locked), old);
    EXPECT_FALSE(fs::exists(locked + ".new"));
#endif
}

// The pause menu's save, one stage in.
class SaveFaultTest : public StageTest {
  protected:
    void SetUp() override {
        StageTest::SetUp();
        WriteStageFiles(scratch.str(), 1, PlayerStage(1, 16, 300));
        ASSERT_EQ(LoadStage(1), 1);
        game.WindowsDir = Path("home");
    }
    void TearDown() override {
        files::ClearFileFault();
        StageTest::TearDown();
    }
    std::string SavePath() const { return Path("home/temp/USER.MAP"); }
    // Saves with the fault in force; what the game said on stderr.
    std::string SaveFails(const FileFault& fault) {
        files::SetFileFault(fault);
        ::testing::internal::CaptureStderr();
        EXPECT_FALSE(SaveStage());
        files::ClearFileFault();
        return ::testing::internal::GetCapturedStderr();
    }
};

TEST_F(SaveFaultTest, AFailedSaveKeepsTheOldSaveWhichStillContinues) {
    pool[game.PlayerIndex].x = 640;
    game.Lives = 2;
    ASSERT_TRUE(SaveStage());
    const std::vector<uint8_t> old = FileBytes(SavePath());
    ASSERT_FALSE(old.empty());

    pool[game.PlayerIndex].x = 900;
    game.Lives = 1;
    for (const Fault& f : kFaults) {
        SCOPED_TRACE(f.what);
        const std::string said = SaveFails(f.fault);
        EXPECT_NE(said.find("the game is not saved"), std::string::npos) << said;
        EXPECT_NE(said.find(std::strerror(f.fault.error)), std::string::npos) << said;
        EXPECT_EQ(FileBytes(SavePath()), old);
        EXPECT_FALSE(fs::exists(SavePath() + ".new"));
        // The running game is untouched by the failure.
        EXPECT_EQ(pool[game.PlayerIndex].x, 900);
        EXPECT_EQ(game.Lives, 1);
    }

    game.TitleActive = 1;
    pool = SpritePool{};
    ASSERT_EQ(LoadStage(kUserSave), 1);
    EXPECT_EQ(pool[game.PlayerIndex].x, 640);
    EXPECT_EQ(game.Lives, 2);
}

TEST_F(SaveFaultTest, AUserFolderThatIsAFileIsReportedNotSaved) {
    WriteBytes(Path("home-file"), {1, 2, 3});
    game.WindowsDir = Path("home-file");
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(SaveStage());
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("the game is not saved"), std::string::npos) << said;
    EXPECT_EQ(FileBytes(Path("home-file")), (std::vector<uint8_t>{1, 2, 3}));
}

// The whole game, headless: a save from the pause menu, then a second one on a
// failing disk; play goes on, and continue from the title brings back the first.
TEST(SaveFaultRun, AFailedPauseMenuSaveKeepsPlayGoingAndContinueBringsBackTheOldSave) {
    namespace key = platform::vk;
    GameRun run;
    WriteStageFiles(run.dir.str(), 1, PlayerStage(1, 16, 300));
    const std::string savePath = run.Path("home/temp/USER.MAP");
    // A new game; the stage fades in for a while before play starts.
    run.Press(100, key::Enter);
    run.Press(5000, key::Right);
    run.Release(5400, key::Right);
    run.Press(6000, key::Escape);
    run.Press(6100, key::Enter);  // save and resume: works
    run.Press(6500, key::Right);
    run.Release(7000, key::Right);
    run.Press(7500, key::Escape);
    run.Press(7600, key::Enter);  // save and resume: the disk fails
    run.Press(8000, key::Left);   // play goes on
    run.Release(8200, key::Left);
    run.Press(8500, key::Escape);
    run.Press(8600, key::Down);
    run.Press(8700, key::Enter);  // quit to the title
    run.Press(9000, key::Right);
    run.Press(9100, key::Enter);  // continue
    run.At(12500, platform::MessageId::Close);

    std::vector<uint8_t> firstSave;
    int32_t farthest = 0;
    int32_t xBeforeLeft = -1, xAfterLeft = -1;  // around the walk after the failure
    run.onFrame = [&] {
        const int32_t x = pool[game.PlayerIndex].x;
        farthest = std::max(farthest, x);
        if (firstSave.empty() && fs::exists(savePath)) {
            firstSave = FileBytes(savePath);
            files::SetFileFault({FileStep::kWrite, 2, ENOSPC, 1024});
        }
        const uint32_t now = run.platform->Now();
        if (now > 7700 && now < 8000) xBeforeLeft = x;
        if (now > 8300 && now < 8500) xAfterLeft = x;
    };
    ::testing::internal::CaptureStderr();
    const int code = run.Run();
    const std::string said = ::testing::internal::GetCapturedStderr();
    files::ClearFileFault();

    EXPECT_EQ(code, 0);
    ASSERT_FALSE(firstSave.empty()) << "the first save was not written";
    EXPECT_NE(said.find("the game is not saved"), std::string::npos) << said;
    EXPECT_EQ(FileBytes(savePath), firstSave);
    EXPECT_FALSE(fs::exists(savePath + ".new"));
    // Play went on after the failure: the player walked left.
    ASSERT_GE(xBeforeLeft, 0);
    EXPECT_LT(xAfterLeft, xBeforeLeft);
    EXPECT_EQ(game.PauseActive, 0);

    StageFile saved;
    ASSERT_EQ(ReadStageFile(firstSave, saved, nullptr), StageRead::kOk);
    const int32_t savedX = saved.sprites[saved[kPlayerIndex]].x;
    EXPECT_GT(farthest, savedX) << "the player walked on after the first save";
    EXPECT_EQ(game.TitleActive, 0);
    EXPECT_EQ(game.Level, 1);
    EXPECT_EQ(pool[game.PlayerIndex].x, savedX);
}

}  // namespace
}  // namespace zoa::test
