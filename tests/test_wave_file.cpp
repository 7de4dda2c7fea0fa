#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "files/le_words.h"
#include "sound/wave_file.h"
#include "sound_fixture.h"

namespace zoa {
namespace {

// Builds a RIFF WAVE file chunk by chunk.
struct RiffBuilder {
    std::vector<std::pair<std::string, std::vector<uint8_t>>> chunks;

    RiffBuilder& Chunk(const std::string& id, std::vector<uint8_t> body) {
        chunks.emplace_back(id, std::move(body));
        return *this;
    }
    static std::vector<uint8_t> Format(uint16_t channels, uint32_t rate, uint16_t bits,
                                       size_t size = 16) {
        WordWriter w;
        w.Unsigned(1u | uint32_t{channels} << 16);
        w.Unsigned(rate);
        w.Unsigned(rate * channels * bits / 8);
        w.Unsigned(uint32_t{static_cast<uint16_t>(channels * bits / 8)} | uint32_t{bits} << 16);
        std::vector<uint8_t> body = w.Data();
        body.resize(size, 0xAB);
        return body;
    }
    std::vector<uint8_t> Bytes() const {
        WordWriter body;
        body.Bytes("WAVE", 4);
        for (const auto& [id, data] : chunks) {
            body.Bytes(id.data(), 4);
            body.Unsigned(static_cast<uint32_t>(data.size()));
            body.Bytes(reinterpret_cast<const char*>(data.data()), data.size());
            if (data.size() & 1) body.Bytes("", 1);
        }
        WordWriter file;
        file.Bytes("RIFF", 4);
        file.Unsigned(static_cast<uint32_t>(body.Data().size()));
        file.Bytes(reinterpret_cast<const char*>(body.Data().data()), body.Data().size());
        return file.Data();
    }
};

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

const std::vector<uint8_t> kSamples = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};

TEST(WaveFile, ReadsFormatAndSamplesAndSkipsChunksBetween) {
    test::TempDir dir;
    // A list chunk of odd size (padded) between "fmt " and "data", another before "fmt ".
    const auto bytes = RiffBuilder()
                           .Chunk("JUNK", {9, 9, 9, 9})
                           .Chunk("fmt ", RiffBuilder::Format(2, 22050, 16))
                           .Chunk("LIST", {'I', 'N', 'F', 'O', 'x'})
                           .Chunk("data", kSamples)
                           .Bytes();
    WriteBytes(dir / "a.wav", bytes);
    WaveFile file(dir / "a.wav");
    ASSERT_EQ(file.loaded, 1) << file.error;
    EXPECT_EQ(file.format.formatTag, 1);
    EXPECT_EQ(file.format.channels, 2);
    EXPECT_EQ(file.format.samplesPerSec, 22050u);
    EXPECT_EQ(file.format.avgBytesPerSec, 88200u);
    EXPECT_EQ(file.format.blockAlign, 4);
    EXPECT_EQ(file.format.bitsPerSample, 16);
    ASSERT_EQ(file.dataSize, kSamples.size());
    EXPECT_EQ(std::vector<uint8_t>(file.data, file.data + file.dataSize), kSamples);

    // An 18-byte format chunk carries the extra-information size.
    WriteBytes(dir / "b.wav", RiffBuilder()
                                  .Chunk("fmt ", RiffBuilder::Format(1, 8000, 8, 18))
                                  .Chunk("data", kSamples)
                                  .Bytes());
    WaveFile extended(dir / "b.wav");
    ASSERT_EQ(extended.loaded, 1) << extended.error;
    EXPECT_EQ(extended.format.extraSize, 0xABAB);
}

TEST(WaveFile, RefusesDataBeforeFormatAndFilesThatAreNotWave) {
    test::TempDir dir;
    WriteBytes(dir / "swapped.wav", RiffBuilder()
                                        .Chunk("data", kSamples)
                                        .Chunk("fmt ", RiffBuilder::Format(1, 8000, 8))
                                        .Bytes());
    EXPECT_EQ(WaveFile(dir / "swapped.wav").loaded, 0);

    WriteBytes(dir / "nodata.wav",
               RiffBuilder().Chunk("fmt ", RiffBuilder::Format(1, 8000, 8)).Bytes());
    EXPECT_EQ(WaveFile(dir / "nodata.wav").loaded, 0);

    WriteBytes(dir / "shortfmt.wav",
               RiffBuilder().Chunk("fmt ", {1, 0, 1, 0}).Chunk("data", kSamples).Bytes());
    EXPECT_EQ(WaveFile(dir / "shortfmt.wav").loaded, 0);

    auto notWave = RiffBuilder()
                       .Chunk("fmt ", RiffBuilder::Format(1, 8000, 8))
                       .Chunk("data", kSamples)
                       .Bytes();
    notWave[8] = 'A';
    WriteBytes(dir / "avi.wav", notWave);
    EXPECT_EQ(WaveFile(dir / "avi.wav").loaded, 0);

    EXPECT_EQ(WaveFile(dir / "missing.wav").loaded, 0);
}

TEST(WaveFile, EveryTruncationFailsWithoutReadingPastTheEnd) {
    test::TempDir dir;
    const auto whole = RiffBuilder()
                           .Chunk("fmt ", RiffBuilder::Format(1, 8000, 16, 18))
                           .Chunk("LIST", {1, 2, 3})
                           .Chunk("data", kSamples)
                           .Bytes();
    for (size_t cut = 0; cut < whole.size(); ++cut) {
        WriteBytes(dir / "cut.wav",
                   std::vector<uint8_t>(whole.begin(), whole.begin() + static_cast<long>(cut)));
        WaveFile file(dir / "cut.wav");
        EXPECT_EQ(file.loaded, 0) << "cut at " << cut;
        EXPECT_FALSE(file.error.empty());
    }
    WriteBytes(dir / "whole.wav", whole);
    EXPECT_EQ(WaveFile(dir / "whole.wav").loaded, 1);
}

TEST(WaveFile, WriterOutputReadsBack) {
    test::TempDir dir;
    const std::vector<int16_t> samples = {0, 1000, -1000, 32767, -32768};
    ASSERT_TRUE(WriteWaveFile16(dir / "w.wav", 44100, 1, samples));
    WaveFile file(dir / "w.wav");
    ASSERT_EQ(file.loaded, 1);
    ASSERT_EQ(file.dataSize, 10u);
    EXPECT_EQ(file.data[6], 0xFF);
    EXPECT_EQ(file.data[7], 0x7F);
    EXPECT_EQ(file.format.avgBytesPerSec, 88200u);
}

}  // namespace
}  // namespace zoa
