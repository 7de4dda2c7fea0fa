#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "editor/edit_history.h"
#include "platform/message.h"
#include "sim/sim_hooks.h"

namespace zoa {

namespace platform {
class Platform;
}

// The stage editor (zoa_noli --edit FILE.stage): the stage drawn as the game
// draws it, painted with the mouse, saved as its source text, played at once.
// The game's start-up makes the window, the display, the sheets and the
// sounds; then the main loop hands the editor every message first and lets it
// draw the frames. While a stage is being played the game's own frame and
// keys run it, by the game's rules.
class StageEditor {
  public:
    // Reads the source at `path` (a missing file starts a new stage). False
    // when the source has an error, with "PATH: line N: ..." in *error.
    bool Open(const std::string& path, std::string* error);
    // Once the sheets, the sounds and the world are set up.
    void Start(platform::Platform* platform);
    // True when the editor took the message; false leaves it to the game.
    bool Message(const platform::Message& m);
    // Draws the editor's picture, or runs a frame of play.
    void Frame();
    // The run ends whatever is unsaved (the end of a --frames run).
    void AllowQuit() { quitAsked_ = true; }

    bool Unsaved() const { return !savedOnce_ || !(edited_.stage == saved_); }
    bool Playing() const { return playing_; }
    const std::string& Note() const { return note_; }
    size_t UndoSteps() const { return history_.UndoSteps(); }

  private:
    enum class View { kMap, kTileSheet, kSpriteStrip };
    enum class Tool { kTiles, kSprites };

    bool Key(uint32_t vk);
    void MouseAt(int32_t lParam);
    void LeftDown();
    void LeftUp();
    void RightDown();
    void Change(EditedStage after);
    void Changed();
    void Scroll(int32_t dx, int32_t dy);
    void Resize(int32_t dw, int32_t dh);
    void SetLevel(int32_t level);
    void PlaceSprite(int32_t type);
    void PlaceHero();
    void DeleteSprite();
    void Save();
    void Quit();
    void StartPlaying();
    void StopPlaying(const char* why);
    void PutInWorld();
    void PaintAtCursor();
    int32_t SpriteAt(int32_t wx, int32_t wy) const;
    int32_t StandingY(int32_t x, int32_t width, int32_t height, int32_t wy) const;
    void UpdateStatus();
    std::string Warnings() const;
    bool OpenToTheSky(const SpriteRecord& hero) const;
    bool StandingPlaceInView(const SpriteRecord& hero, int32_t* x, int32_t* y) const;
    void DrawMap();
    void DrawTileSheet();
    void DrawSpriteStrip();
    void DrawStatusBar();
    void DrawBox(int32_t x, int32_t y, int32_t w, int32_t h, uint8_t colour);
    void FillBox(int32_t x, int32_t y, int32_t w, int32_t h, uint8_t colour);
    int32_t StripCell(int32_t x, int32_t y) const;

    platform::Platform* platform_ = nullptr;
    std::string path_;
    std::string name_;              // the file's name, for the title and the status line
    std::string baseText_;          // the source as last read or saved
    std::vector<int32_t> baseIds_;  // the sprite of each of its sprite lines
    StageFile saved_;
    bool savedOnce_ = true;  // false for a new file until its first save
    EditedStage edited_;
    EditHistory history_;
    int32_t nextId_ = 0;

    View view_ = View::kMap;
    Tool tool_ = Tool::kTiles;
    int32_t tile_ = 1;
    int32_t spriteType_ = 0;
    bool showAttrs_ = false;
    int32_t sheetTop_ = 0;  // the tile sheet's scroll, in pixels
    int32_t mouseX_ = 0;
    int32_t mouseY_ = 0;
    bool leftDown_ = false;
    bool rightDown_ = false;
    int32_t strokeX_ = -1;  // world point the stroke last painted at
    int32_t strokeY_ = -1;
    bool ctrl_ = false;
    bool shift_ = false;
    int32_t dragged_ = -1;  // sprite being moved
    int32_t dragDx_ = 0;
    int32_t dragDy_ = 0;
    EditedStage beforeDrag_;
    bool quitAsked_ = false;
    std::array<int32_t, 2> cutAsked_{};  // the size a cut was asked for
    std::string note_;
    std::string status_;
    std::string title_;

    mutable std::vector<uint8_t> skySeen_;  // the sky check's cells reached
    mutable std::vector<int32_t> skyTodo_;  // and those still to look around
    bool playing_ = false;
    SimHooks gameHooks_{};
    int32_t camX_ = 0;
    int32_t camY_ = 0;
    uint8_t black_ = 0, white_ = 0, yellow_ = 0, red_ = 0, grey_ = 0;
};

}  // namespace zoa
