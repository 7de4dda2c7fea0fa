#include "gfx/display.h"

#include <cstring>

#include "files/palette_file.h"
#include "gfx/blit_rows.h"
#include "gfx/sheet_image.h"
#include "platform/platform.h"

namespace zoa {

Display* g_display = nullptr;

namespace {
constexpr size_t kScreenBytes = static_cast<size_t>(kScreenWidth) * kScreenHeight;
// Room for the screen buffers and every sheet the game loads, with some to
// spare; surfaces beyond it come from the ordinary heap.
constexpr size_t kPixelMemoryBytes = size_t{32} << 20;
}  // namespace

Display::Display(platform::Platform* screen)
    : screen_(screen), pixelMemory_(screen ? kPixelMemoryBytes : 0) {
    if (!screen_) return;
    front_ = AllocatePixels(2 * kScreenBytes, buffers_);
    back_ = front_ + kScreenBytes;
    backSurface_.width = kScreenWidth;
    backSurface_.height = kScreenHeight;
    backSurface_.pitch = kScreenWidth;
}

Surface* Display::Target(uint32_t index) {
    if (index == 0) return screen_ ? &backSurface_ : nullptr;
    if (index > surfaceCount_) return nullptr;
    return &surfaces_[index];
}

const Surface* Display::GetSurface(uint32_t index) const {
    if (index == 0 || index > surfaceCount_) return nullptr;
    return &surfaces_[index];
}

uint32_t Display::CreateSurface(int32_t width, int32_t height) {
    if (surfaceCount_ >= kMaxSurfaces || width <= 0 || height <= 0) return 0;
    Surface& s = surfaces_[surfaceCount_ + 1];
    s.width = width;
    s.height = height;
    s.pitch = width;
    s.pixels = AllocatePixels(static_cast<size_t>(width) * height, s.owned);
    return ++surfaceCount_;
}

uint8_t* Display::AllocatePixels(size_t bytes, std::unique_ptr<uint8_t[]>& fallback) {
    if (uint8_t* block = pixelMemory_.Allocate(bytes)) return block;
    fallback = std::make_unique<uint8_t[]>(bytes);
    return fallback.get();
}

int32_t Display::SetColorKey(uint32_t index, uint8_t low, uint8_t high) {
    if (index == 0 || index > surfaceCount_) return 0;
    keyed_[index] = 1;
    keyLow_[index] = low;
    keyHigh_[index] = high;
    return 1;
}

int32_t Display::CopySheet(uint32_t index, Point dest, const SheetImage& sheet, Rect src) {
    Surface* target = Target(index);
    if (!target) return 0;
    // A sheet that was rejected holds no pixels, and a rectangle outside either
    // picture would read or write out of bounds: neither is copied.
    const Rect sheetArea{0, 0, sheet.width, sheet.height};
    const Rect destArea{dest.x, dest.y, dest.x + src.Width(), dest.y + src.Height()};
    if (sheet.Empty() || src.Empty() || src.left < 0 || src.top < 0 ||
        src.right > sheetArea.right || src.bottom > sheetArea.bottom ||
        !target->Contains(destArea)) {
        return 0;
    }
    for (int32_t r = 0; r < src.Height(); ++r) {
        const uint8_t* from =
            sheet.pixels + static_cast<size_t>(sheet.height - 1 - (src.top + r)) * sheet.width;
        std::memcpy(target->Row(dest.y + r) + dest.x, from + src.left,
                    static_cast<size_t>(src.Width()));
    }
    return 1;
}

int32_t Display::Blit(Point dest, uint32_t index, Rect src) {
    const Surface* from = GetSurface(index);
    if (!from || !screen_ || src.Empty() || !from->Contains(src)) return 0;
    const Rect destArea{dest.x, dest.y, dest.x + src.Width(), dest.y + src.Height()};
    if (!backSurface_.Contains(destArea)) return 0;
    if (!drawing_) return 1;
    const size_t cols = static_cast<size_t>(src.Width());
    const bool keyed = keyed_[index] != 0;
    if (keyed && keyLow_[index] == keyHigh_[index]) {
        CopyBlockKeyed({back_ + static_cast<size_t>(dest.y) * kScreenWidth + dest.x, kScreenWidth,
                        from->Row(src.top) + src.left, static_cast<size_t>(from->pitch), cols,
                        static_cast<size_t>(src.Height()), keyLow_[index]});
        return 1;
    }
    for (int32_t r = 0; r < src.Height(); ++r) {
        const uint8_t* s = from->Row(src.top + r) + src.left;
        uint8_t* d = back_ + static_cast<size_t>(dest.y + r) * kScreenWidth + dest.x;
        if (!keyed) {
            std::memcpy(d, s, cols);
        } else {
            for (size_t c = 0; c < cols; ++c) {
                if (s[c] < keyLow_[index] || s[c] > keyHigh_[index]) d[c] = s[c];
            }
        }
    }
    return 1;
}

int32_t Display::StretchBlit(Rect dest, uint32_t index, Rect src) {
    const Surface* from = GetSurface(index);
    if (!from || !screen_ || src.Empty() || dest.Empty() || !from->Contains(src) ||
        !backSurface_.Contains(dest)) {
        return 0;
    }
    if (!drawing_) return 1;
    const bool keyed = keyed_[index] != 0;
    for (int32_t y = 0; y < dest.Height(); ++y) {
        const int32_t sy =
            src.top + static_cast<int32_t>(static_cast<int64_t>(y) * src.Height() / dest.Height());
        const uint8_t* s = from->Row(sy);
        uint8_t* d = back_ + static_cast<size_t>(dest.top + y) * kScreenWidth + dest.left;
        for (int32_t x = 0; x < dest.Width(); ++x) {
            const uint8_t p = s[src.left + static_cast<int32_t>(static_cast<int64_t>(x) *
                                                                src.Width() / dest.Width())];
            if (keyed && p >= keyLow_[index] && p <= keyHigh_[index]) continue;
            d[x] = p;
        }
    }
    return 1;
}

int32_t Display::Clear(uint32_t index) {
    Surface* target = Target(index);
    if (!target) return 0;
    uint8_t* pixels = index == 0 ? back_ : target->pixels;
    std::memset(pixels, 0, static_cast<size_t>(target->pitch) * target->height);
    return 1;
}

int32_t Display::Flip() {
    if (!screen_) return 0;
    if (!drawing_) return 1;
    screen_->WaitForFlip();
    std::swap(front_, back_);
    Present();
    return 1;
}

void Display::Present() {
    if (screen_) screen_->Present(front_, screenPalette_);
}

int32_t Display::SetPaletteEntries(const Palette& entries) {
    if (!screen_) return 0;
    screenPalette_ = entries;
    // A palette change shows at once, without a flip (fades rely on it).
    Present();
    return 1;
}

int32_t Display::LoadPalette(const std::string& path, std::string* error) {
    Palette loaded;
    if (!ReadPaletteFile(path, loaded, error)) return 0;
    palette = loaded;
    return SetPaletteEntries(palette);
}

Display::~Display() {
    if (g_display == this) g_display = nullptr;
}

}  // namespace zoa
