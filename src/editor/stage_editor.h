#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "editor/edit_history.h"
#include "editor/stage_checks.h"
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

    // The core (stage_editor.cpp): changes as undo steps, the edits at the
    // mouse, saving and quitting.
    void PutInWorld();
    void Change(EditedStage after);
    void Changed();
    void Edit(void (*edit)(EditedStage&, int32_t), int32_t step);
    void Resize(int32_t dw, int32_t dh);
    void PlaceSprite(int32_t type);
    void PlaceHero();
    void DeleteSprite();
    void Save();
    void Quit();
    int32_t MouseWorldX() const;
    int32_t MouseWorldY() const;

    // Keys and the mouse (editor_input.cpp).
    bool Key(uint32_t vk);
    void CtrlKey(uint32_t vk);
    void PlainKey(uint32_t vk);
    void MouseAt(int32_t lParam);
    void LeftDown();
    void LeftUp();
    void RightDown();
    void Scroll(int32_t dx, int32_t dy);
    void PaintAtCursor();

    // The picture and the status line (editor_view.cpp).
    void PickColours();
    void UpdateStatus();
    void DrawMap();
    void DrawAttributes();
    void DrawTileSheet();
    void DrawSpriteStrip();
    void DrawStatusBar();
    void DrawHelp();
    void DrawBox(int32_t x, int32_t y, int32_t w, int32_t h, uint8_t colour);
    void FillBox(int32_t x, int32_t y, int32_t w, int32_t h, uint8_t colour);

    // Playing the stage (trial_play.cpp).
    void StartPlaying();
    void StopPlaying(const char* why);
    void PlayFrame();

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
    bool help_ = false;     // F1: the keys over the picture
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

    SkySearch sky_;
    bool playing_ = false;
    SimHooks gameHooks_{};
    int32_t camX_ = 0;
    int32_t camY_ = 0;
    uint8_t black_ = 0, white_ = 0, yellow_ = 0, red_ = 0, grey_ = 0;
};

}  // namespace zoa
