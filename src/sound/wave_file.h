#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zoa {

namespace files {
class ReadBuffer;
}

// The format record at the start of a WAVE file's "fmt " chunk.
struct WaveFormat {
    uint16_t formatTag = 1;  // 1 = PCM
    uint16_t channels = 1;
    uint32_t samplesPerSec = 22050;
    uint32_t avgBytesPerSec = 44100;
    uint16_t blockAlign = 2;
    uint16_t bitsPerSample = 16;
    uint16_t extraSize = 0;
};

// One WAVE file read into memory: a RIFF file of form "WAVE" in which a "data"
// chunk follows a "fmt " chunk; other chunks are skipped. `loaded` is 1 only
// when every step of reading succeeded.
class WaveFile {
  public:
    explicit WaveFile(const std::string& path);
    // The same, read into `buffer`: the samples stay there and are good until
    // the buffer's next read.
    WaveFile(const std::string& path, files::ReadBuffer& buffer);
    // The same from the file's bytes; `name` only goes into the error text.
    WaveFile(const std::vector<uint8_t>& bytes, const std::string& name);
    virtual ~WaveFile() = default;
    WaveFile(const WaveFile&) = delete;
    WaveFile& operator=(const WaveFile&) = delete;

    uint32_t dataSize = 0;
    int32_t loaded = 0;
    const uint8_t* data = nullptr;  // the samples, inside the file's bytes
    WaveFormat format;
    std::string error;  // why loading failed, if it did

  private:
    void Decode(const uint8_t* bytes, size_t size, const std::string& name);

    std::vector<uint8_t> file_;  // the whole file, as read
};

// Writes PCM samples as a WAVE file with a 16-byte "fmt " chunk and a "data" chunk.
bool WriteWaveFile(const std::string& path, const WaveFormat& format, const uint8_t* samples,
                   size_t size);

// 16-bit mono or stereo samples at `rate` Hz.
bool WriteWaveFile16(const std::string& path, uint32_t rate, uint16_t channels,
                     const std::vector<int16_t>& samples);

}  // namespace zoa
