#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "files/memory_arena.h"
#include "files/palette.h"
#include "gfx/geometry.h"
#include "platform/screen_size.h"

namespace zoa {

namespace platform {
class Platform;
}
class SheetImage;

constexpr uint32_t kMaxSurfaces = 100;

// An 8-bit picture in plain memory.
struct Surface {
    int32_t width = 0;
    int32_t height = 0;
    int32_t pitch = 0;
    uint8_t* pixels = nullptr;  // in the display's surface memory, or in `owned`
    std::unique_ptr<uint8_t[]> owned;

    uint8_t* Row(int32_t y) { return pixels + static_cast<size_t>(y) * pitch; }
    const uint8_t* Row(int32_t y) const { return pixels + static_cast<size_t>(y) * pitch; }
    bool Contains(const Rect& r) const {
        return r.left >= 0 && r.top >= 0 && r.right <= width && r.bottom <= height;
    }
};

// The game's only way to the screen: a 640 x 480 8-bit front buffer and back
// buffer exchanged by Flip, a screen palette, and up to 100 off-screen
// surfaces (index 1..100; index 0 is the back buffer) that hold the sheets.
// Every operation answers 1 for success and 0 for failure.
class Display {
  public:
    // `screen` is where finished pictures are shown; null means no display
    // could be set up, and IsReady then answers 0.
    explicit Display(platform::Platform* screen);
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;
    ~Display();

    int32_t IsReady() const { return screen_ != nullptr ? 1 : 0; }
    uint32_t CreateSurface(int32_t width, int32_t height);
    int32_t SetColorKey(uint32_t index, uint8_t low, uint8_t high);
    int32_t CopySheet(uint32_t index, Point dest, const SheetImage& sheet, Rect src);
    int32_t Blit(Point dest, uint32_t index, Rect src);
    int32_t StretchBlit(Rect dest, uint32_t index, Rect src);
    int32_t Clear(uint32_t index);
    int32_t Flip();
    // With drawing off, blits and flips answer as they would but change no
    // pixel and show nothing: a frame run only for what it does to the game
    // (a bot trying moves ahead) costs no drawing. On by default.
    void SetDrawing(bool on) { drawing_ = on; }
    int32_t SetPaletteEntries(const Palette& entries);
    // Fails (with the reason in *error) for a missing or short file.
    int32_t LoadPalette(const std::string& path, std::string* error = nullptr);

    // The palette last loaded from the palette file; fades start from it.
    Palette palette{};

    // What is on screen and what is being drawn, for screenshots and tests.
    const uint8_t* FrontBuffer() const { return front_; }
    uint8_t* BackBuffer() { return back_; }
    const Palette& ScreenPalette() const { return screenPalette_; }
    uint32_t SurfaceCount() const { return surfaceCount_; }
    const Surface* GetSurface(uint32_t index) const;
    bool IsKeyed(uint32_t index) const { return index <= kMaxSurfaces && keyed_[index] != 0; }

  private:
    Surface* Target(uint32_t index);
    void Present();

    // Zeroed memory for the screen buffers and surfaces (null when none is left).
    uint8_t* AllocatePixels(size_t bytes, std::unique_ptr<uint8_t[]>& fallback);

    platform::Platform* screen_ = nullptr;
    Palette screenPalette_{};
    files::MemoryArena pixelMemory_;
    std::unique_ptr<uint8_t[]> buffers_;  // front and back, when not in pixelMemory_
    uint8_t* front_ = nullptr;
    uint8_t* back_ = nullptr;
    Surface backSurface_;  // a view of the back buffer for the common paths
    uint32_t surfaceCount_ = 0;
    bool drawing_ = true;
    std::array<Surface, kMaxSurfaces + 1> surfaces_{};
    std::array<int32_t, kMaxSurfaces + 1> keyed_{};
    std::array<uint8_t, kMaxSurfaces + 1> keyLow_{};
    std::array<uint8_t, kMaxSurfaces + 1> keyHigh_{};
};

// The display the game draws on, owned by the run (null when there is none);
// it stops being this one when it is destroyed.
extern Display* g_display;

}  // namespace zoa
