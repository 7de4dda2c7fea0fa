#include "sound/wave_file.h"

#include <algorithm>
#include <cstring>
#include <fstream>

#include "files/le_words.h"
#include "files/read_buffer.h"

namespace zoa {

namespace {

uint32_t Word32(const uint8_t* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}
uint16_t Word16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

// Finds chunk `id` among the chunks in [begin, end); chunks are padded to even sizes.
bool FindChunk(const uint8_t* bytes, size_t begin, size_t end, const char* id, size_t& bodyAt,
               uint32_t& bodySize) {
    size_t pos = begin;
    while (pos + 8 <= end) {
        const uint32_t size = Word32(bytes + pos + 4);
        if (std::memcmp(bytes + pos, id, 4) == 0) {
            bodyAt = pos + 8;
            bodySize = size;
            return true;
        }
        const uint64_t next = uint64_t{pos} + 8 + size + (size & 1);
        if (next > end) return false;
        pos = static_cast<size_t>(next);
    }
    return false;
}

}  // namespace

WaveFile::WaveFile(const std::string& path) {
    if (!ReadWholeFile(path, file_)) {
        error = "cannot open " + path;
        return;
    }
    Decode(file_.data(), file_.size(), path);
}

WaveFile::WaveFile(const std::string& path, files::ReadBuffer& buffer) {
    if (!buffer.Read(path)) {
        error = "cannot open " + path;
        return;
    }
    Decode(buffer.data(), buffer.size(), path);
}

WaveFile::WaveFile(const std::vector<uint8_t>& bytes, const std::string& name) : file_(bytes) {
    Decode(file_.data(), file_.size(), name);
}

// The samples stay where the file was read to.
void WaveFile::Decode(const uint8_t* bytes, size_t length, const std::string& path) {
    if (length < 12 || std::memcmp(bytes, "RIFF", 4) != 0 ||
        std::memcmp(bytes + 8, "WAVE", 4) != 0) {
        error = path + " is not a RIFF WAVE file";
        return;
    }
    const uint64_t riffEnd = std::min<uint64_t>(length, uint64_t{8} + Word32(bytes + 4));
    size_t fmtAt = 0, dataAt = 0;
    uint32_t fmtSize = 0;
    if (!FindChunk(bytes, 12, static_cast<size_t>(riffEnd), "fmt ", fmtAt, fmtSize) ||
        fmtSize < 16) {
        error = path + " has no format chunk";
        return;
    }
    // The record's first 18 bytes; a plain 16-byte chunk leaves the extra size 0.
    const uint32_t recordSize = fmtSize >= 18 ? 18 : 16;
    if (uint64_t{fmtAt} + recordSize > length) {
        error = path + " ends inside its format chunk";
        return;
    }
    const uint8_t* f = bytes + fmtAt;
    format.formatTag = Word16(f);
    format.channels = Word16(f + 2);
    format.samplesPerSec = Word32(f + 4);
    format.avgBytesPerSec = Word32(f + 8);
    format.blockAlign = Word16(f + 12);
    format.bitsPerSample = Word16(f + 14);
    format.extraSize = fmtSize >= 18 ? Word16(f + 16) : 0;
    // "data" must come after "fmt ".
    const size_t afterFmt = fmtAt + fmtSize + (fmtSize & 1);
    uint32_t size = 0;
    if (afterFmt > riffEnd ||
        !FindChunk(bytes, afterFmt, static_cast<size_t>(riffEnd), "data", dataAt, size)) {
        error = path + " has no data chunk after its format chunk";
        return;
    }
    if (uint64_t{dataAt} + size > length) {
        error = path + " ends inside its data chunk";
        return;
    }
    data = bytes + dataAt;
    dataSize = size;
    loaded = 1;
}

bool WriteWaveFile(const std::string& path, const WaveFormat& format, const uint8_t* samples,
                   size_t size) {
    WordWriter out;
    out.Bytes("RIFF", 4);
    out.Unsigned(static_cast<uint32_t>(4 + 8 + 16 + 8 + size + (size & 1)));
    out.Bytes("WAVE", 4);
    out.Bytes("fmt ", 4);
    out.Unsigned(16);
    out.Unsigned(format.formatTag | uint32_t{format.channels} << 16);
    out.Unsigned(format.samplesPerSec);
    out.Unsigned(format.avgBytesPerSec);
    out.Unsigned(format.blockAlign | uint32_t{format.bitsPerSample} << 16);
    out.Bytes("data", 4);
    out.Unsigned(static_cast<uint32_t>(size));
    out.Bytes(reinterpret_cast<const char*>(samples), size);
    if (size & 1) out.Bytes("", 1);
    return out.WriteFile(path);
}

bool WriteWaveFile16(const std::string& path, uint32_t rate, uint16_t channels,
                     const std::vector<int16_t>& samples) {
    WaveFormat format;
    format.channels = channels;
    format.samplesPerSec = rate;
    format.blockAlign = static_cast<uint16_t>(2 * channels);
    format.avgBytesPerSec = rate * format.blockAlign;
    format.bitsPerSample = 16;
    std::vector<uint8_t> bytes(samples.size() * 2);
    for (size_t i = 0; i < samples.size(); ++i) {
        bytes[2 * i] = static_cast<uint8_t>(samples[i]);
        bytes[2 * i + 1] = static_cast<uint8_t>(static_cast<uint16_t>(samples[i]) >> 8);
    }
    return WriteWaveFile(path, format, bytes.data(), bytes.size());
}

}  // namespace zoa
