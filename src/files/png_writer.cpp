#include "files/png_writer.h"

#include <zlib.h>

#include <array>
#include <fstream>
#include <vector>

#include "files/utf8_path.h"

namespace zoa {

namespace {

uint32_t Crc32(const uint8_t* data, size_t n, uint32_t crc = 0) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (size_t i = 0; i < n; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void PutBigEndian(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& body) {
    PutBigEndian(out, static_cast<uint32_t>(body.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    PutBigEndian(out, Crc32(out.data() + start, out.size() - start));
}

// Writes the PNG: header with the colour type, the optional palette, then
// the rows (each `rowBytes` long, from `row(y)`) compressed with zlib. The
// game's pictures are large areas of few colours, so deflate shrinks them
// many times; rows keep filter 0, which suits indexed pictures best.
template <class RowFn>
bool WritePngFile(const std::string& path, int32_t width, int32_t height, uint8_t colourType,
                  size_t rowBytes, const Palette* palette, RowFn row) {
    if (width <= 0 || height <= 0) return false;
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

    std::vector<uint8_t> header;
    PutBigEndian(header, static_cast<uint32_t>(width));
    PutBigEndian(header, static_cast<uint32_t>(height));
    header.insert(header.end(), {8, colourType, 0, 0, 0});
    PutChunk(png, "IHDR", header);

    if (palette) {
        std::vector<uint8_t> colours;
        for (const PaletteEntry& e : *palette)
            colours.insert(colours.end(), {e.red, e.green, e.blue});
        PutChunk(png, "PLTE", colours);
    }

    // Each row: filter byte 0, then the row's bytes.
    std::vector<uint8_t> raw;
    raw.reserve((rowBytes + 1) * static_cast<size_t>(height));
    for (int32_t y = 0; y < height; ++y) {
        raw.push_back(0);
        row(y, raw);
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<uint8_t> zlib(packedSize);
    if (compress2(zlib.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()),
                  Z_BEST_COMPRESSION) != Z_OK)
        return false;
    zlib.resize(packedSize);
    PutChunk(png, "IDAT", zlib);
    PutChunk(png, "IEND", {});

    std::ofstream file(files::FsPath(path), std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    return static_cast<bool>(file.flush());
}

constexpr uint8_t kIndexedColour = 3;
constexpr uint8_t kRgbaColour = 6;

}  // namespace

bool WritePng(const std::string& path, const uint8_t* pixels, int32_t width, int32_t height,
              const Palette& palette) {
    return WritePngFile(path, width, height, kIndexedColour, static_cast<size_t>(width), &palette,
                        [&](int32_t y, std::vector<uint8_t>& raw) {
                            const uint8_t* from = pixels + static_cast<size_t>(y) * width;
                            raw.insert(raw.end(), from, from + width);
                        });
}

bool WriteRgbaPng(const std::string& path, const uint32_t* pixels, int32_t width, int32_t height) {
    return WritePngFile(
        path, width, height, kRgbaColour, static_cast<size_t>(width) * 4, nullptr,
        [&](int32_t y, std::vector<uint8_t>& raw) {
            const uint32_t* from = pixels + static_cast<size_t>(y) * width;
            for (int32_t x = 0; x < width; ++x) {
                const uint32_t p = from[x];
                raw.insert(raw.end(), {static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8),
                                       static_cast<uint8_t>(p), static_cast<uint8_t>(p >> 24)});
            }
        });
}

}  // namespace zoa
