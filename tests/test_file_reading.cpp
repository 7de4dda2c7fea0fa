#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <thread>
#include <vector>

#include "files/le_words.h"
#include "files/memory_arena.h"
#include "files/read_buffer.h"
#include "gfx/sheet_image.h"
#include "sound/wave_file.h"
#include "test_support.h"

// Reading files whole (ReadBuffer, ReadWholeFile) and the arena that large
// buffers come from.

namespace zoa {
namespace {

std::vector<uint8_t> Pattern(size_t size, uint8_t seed) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(i * 31 + seed + i / 4096);
    return bytes;
}

TEST(MemoryArena, HandsOutZeroedAlignedSeparateBlocksUntilFull) {
    files::MemoryArena arena(1 << 20);
    uint8_t* a = arena.Allocate(1000);
    uint8_t* b = arena.Allocate(300000);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(a) % 64, 0u);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(b) % 64, 0u);
    EXPECT_GE(b, a + 1000);
    for (size_t i = 0; i < 300000; ++i) ASSERT_EQ(b[i], 0) << i;
    std::memset(a, 0xAB, 1000);
    std::memset(b, 0xCD, 300000);
    EXPECT_EQ(a[999], 0xAB);
    EXPECT_EQ(b[0], 0xCD);
    // What is left is less than a megabyte.
    EXPECT_EQ(arena.Allocate(1 << 20), nullptr);
    uint8_t* rest = arena.Allocate((1 << 20) - 301056);
    ASSERT_NE(rest, nullptr);
    rest[(1 << 20) - 301056 - 1] = 1;
    EXPECT_EQ(arena.Allocate(1), nullptr);
}

TEST(ReadBuffer, GivesEachFileExactlyWhateverCameBefore) {
    test::TempDir dir;
    const std::vector<uint8_t> small = Pattern(10, 1);
    const std::vector<uint8_t> big = Pattern(5 << 20, 2);  // more than the first reservation
    const std::vector<uint8_t> middle = Pattern(1300000, 3);
    test::WriteBytes(dir.str() + "/small", small);
    test::WriteBytes(dir.str() + "/big", big);
    test::WriteBytes(dir.str() + "/middle", middle);
    test::WriteBytes(dir.str() + "/empty", {});

    files::ReadBuffer buffer;
    const auto contents = [&] {
        return std::vector<uint8_t>(buffer.data(), buffer.data() + buffer.size());
    };
    ASSERT_TRUE(buffer.Read(dir.str() + "/middle"));
    EXPECT_EQ(contents(), middle);
    ASSERT_TRUE(buffer.Read(dir.str() + "/big"));
    EXPECT_EQ(contents(), big);
    ASSERT_TRUE(buffer.Read(dir.str() + "/small"));
    EXPECT_EQ(contents(), small);
    ASSERT_TRUE(buffer.Read(dir.str() + "/empty"));
    EXPECT_EQ(buffer.size(), 0u);
    EXPECT_FALSE(buffer.Read(dir.str() + "/missing"));
    EXPECT_EQ(buffer.size(), 0u);
}

// Reading a folder used to end the game with an exception.
TEST(ReadBuffer, AFolderIsNoFileForEitherReader) {
    test::TempDir dir;
    files::ReadBuffer buffer;
    EXPECT_FALSE(buffer.Read(dir.str()));
    std::vector<uint8_t> bytes{1, 2, 3};
    EXPECT_FALSE(ReadWholeFile(dir.str(), bytes));
    EXPECT_FALSE(WaveFile(dir.str()).loaded);
    EXPECT_TRUE(SheetImage(dir.str() + "/", true).Empty());
}

// A pipe cannot tell its size; it is read to its end all the same (opening one
// to read from its end used to fail).
TEST(ReadBuffer, APipeIsReadToItsEnd) {
    test::TempDir dir;
    const std::string fifo = dir.str() + "/pipe";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::vector<uint8_t> bytes = Pattern(200000, 5);
    files::ReadBuffer buffer;
    std::thread writer([&] { test::WriteBytes(fifo, bytes); });
    const bool read = buffer.Read(fifo);
    writer.join();
    ASSERT_TRUE(read);
    EXPECT_EQ(std::vector<uint8_t>(buffer.data(), buffer.data() + buffer.size()), bytes);
    std::vector<uint8_t> whole;
    writer = std::thread([&] { test::WriteBytes(fifo, bytes); });
    const bool readWhole = ReadWholeFile(fifo, whole);
    writer.join();
    ASSERT_TRUE(readWhole);
    EXPECT_EQ(whole, bytes);
}

}  // namespace
}  // namespace zoa
