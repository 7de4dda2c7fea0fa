#include "icon_file.h"

#include "files/le_words.h"
#include "files/png_writer.h"
#include "hero_art.h"
#include "palette_design.h"

namespace zoa::databuild {

namespace {

void Put16(std::vector<uint8_t>& b, uint32_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

constexpr int kSize = 32;

// The hero's head and shoulders.
Canvas PaintIcon() {
    Canvas icon(kSize, kSize);
    Painter p(icon, 1.05f, 16.0f - 62.0f * 1.05f, 16.0f - 45.0f * 1.05f);
    DrawHeroPose(p, HeroFramePose(0, 0));
    return icon;
}

}  // namespace

bool WriteIconPng(const std::string& path) {
    const Canvas icon = PaintIcon();
    const Palette& pal = GamePalette();
    std::vector<uint32_t> argb(kSize * kSize);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const uint8_t c = icon.Get(x, y);
            argb[y * kSize + x] = c == TransparentIndex
                                      ? 0u
                                      : 0xFF000000u | uint32_t{pal[c].red} << 16 |
                                            uint32_t{pal[c].green} << 8 | pal[c].blue;
        }
    }
    return WriteRgbaPng(path, argb.data(), kSize, kSize);
}

bool WriteIconFile(const std::string& path) {
    const Canvas icon = PaintIcon();
    const Palette& pal = GamePalette();

    constexpr uint32_t kHeaderSize = 14 + 108;
    std::vector<uint8_t> b;
    b.push_back('B');
    b.push_back('M');
    Put32(b, kHeaderSize + kSize * kSize * 4);
    Put32(b, 0);
    Put32(b, kHeaderSize);
    Put32(b, 108);  // BITMAPV4HEADER
    Put32(b, kSize);
    Put32(b, kSize);  // positive: rows bottom-up
    Put16(b, 1);
    Put16(b, 32);
    Put32(b, 3);  // BI_BITFIELDS
    Put32(b, kSize * kSize * 4);
    Put32(b, 2835);
    Put32(b, 2835);
    Put32(b, 0);
    Put32(b, 0);
    Put32(b, 0x00FF0000);                      // red mask
    Put32(b, 0x0000FF00);                      // green
    Put32(b, 0x000000FF);                      // blue
    Put32(b, 0xFF000000);                      // alpha
    Put32(b, 0x73524742);                      // 'sRGB'
    for (int i = 0; i < 12; ++i) Put32(b, 0);  // endpoints and gamma
    for (int y = kSize - 1; y >= 0; --y) {
        for (int x = 0; x < kSize; ++x) {
            const uint8_t c = icon.Get(x, y);
            const bool clear = c == TransparentIndex;
            b.push_back(clear ? 0 : pal[c].blue);
            b.push_back(clear ? 0 : pal[c].green);
            b.push_back(clear ? 0 : pal[c].red);
            b.push_back(clear ? 0 : 255);
        }
    }
    WordWriter w;
    w.Bytes(reinterpret_cast<const char*>(b.data()), b.size());
    return w.WriteFile(path);
}

}  // namespace zoa::databuild
