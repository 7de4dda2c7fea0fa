#include "png_reader.h"

#include <zlib.h>

#include <algorithm>
#include <cstdlib>

#include "test_support.h"

namespace zoa::test {

namespace {

uint32_t BigEndian(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t{b[at]} << 24 | uint32_t{b[at + 1]} << 16 | uint32_t{b[at + 2]} << 8 | b[at + 3];
}

uint8_t Paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return static_cast<uint8_t>(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

}  // namespace

bool ReadPng(const std::string& path, PngPicture& out) {
    const std::vector<uint8_t> file = ReadBytes(path);
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (file.size() < 8 || !std::equal(kSignature, kSignature + 8, file.begin())) return false;
    std::vector<uint8_t> zlib;
    bool ended = false;
    for (size_t at = 8; at + 12 <= file.size() && !ended;) {
        const uint32_t length = BigEndian(file, at);
        if (length > file.size() - at - 12) return false;
        const std::string type(file.begin() + at + 4, file.begin() + at + 8);
        const auto body = file.begin() + static_cast<std::ptrdiff_t>(at + 8);
        if (crc32(crc32(0, nullptr, 0), file.data() + at + 4, length + 4) !=
            BigEndian(file, at + 8 + length))
            return false;
        if (type == "IHDR") {
            out.width = static_cast<int32_t>(BigEndian(file, at + 8));
            out.height = static_cast<int32_t>(BigEndian(file, at + 12));
            if (file[at + 16] != 8 || file[at + 20] != 0) return false;  // 8-bit, not interlaced
            out.colourType = file[at + 17];
        } else if (type == "PLTE") {
            out.palette.assign(body, body + length);
        } else if (type == "IDAT") {
            zlib.insert(zlib.end(), body, body + length);
        } else if (type == "IEND") {
            ended = true;
        }
        at += 12 + length;
    }
    const size_t bytesPerPixel = out.colourType == 3 ? 1 : out.colourType == 6 ? 4 : 0;
    if (!ended || bytesPerPixel == 0 || out.width <= 0 || out.height <= 0) return false;
    const size_t rowBytes = bytesPerPixel * static_cast<size_t>(out.width);
    std::vector<uint8_t> raw((rowBytes + 1) * static_cast<size_t>(out.height) + 1);
    uLongf rawSize = raw.size();
    if (uncompress(raw.data(), &rawSize, zlib.data(), zlib.size()) != Z_OK ||
        rawSize != raw.size() - 1)
        return false;

    out.pixels.assign(rowBytes * static_cast<size_t>(out.height), 0);
    for (int32_t y = 0; y < out.height; ++y) {
        const uint8_t* in = raw.data() + static_cast<size_t>(y) * (rowBytes + 1);
        uint8_t* row = out.pixels.data() + static_cast<size_t>(y) * rowBytes;
        const uint8_t* up = y > 0 ? row - rowBytes : nullptr;
        for (size_t i = 0; i < rowBytes; ++i) {
            const int a = i >= bytesPerPixel ? row[i - bytesPerPixel] : 0;
            const int b = up ? up[i] : 0;
            const int c = up && i >= bytesPerPixel ? up[i - bytesPerPixel] : 0;
            const int x = in[1 + i];
            switch (in[0]) {
                case 0:
                    row[i] = static_cast<uint8_t>(x);
                    break;
                case 1:
                    row[i] = static_cast<uint8_t>(x + a);
                    break;
                case 2:
                    row[i] = static_cast<uint8_t>(x + b);
                    break;
                case 3:
                    row[i] = static_cast<uint8_t>(x + (a + b) / 2);
                    break;
                case 4:
                    row[i] = static_cast<uint8_t>(x + Paeth(a, b, c));
                    break;
                default:
                    return false;
            }
        }
    }
    return true;
}

}  // namespace zoa::test
