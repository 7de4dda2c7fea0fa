#pragma once
#include <cstdint>
#include <string>

namespace zoa {

// Every global variable through which the parts of the game talk to each
// other, under the names the game's documentation uses, with their initial
// values. `game = GameState{}` puts them all back; it is one part of the
// simulation's value (sim/simulation.h).
struct GameState {
    // Application state
    int32_t AppActive = 0;    // in the foreground: the loop runs frames
    int32_t InputActive = 1;  // frames, input and the timer are handled
    int32_t DisplayReady = 0;
    uint32_t LastFrameTime = 0;  // clock reading when the last frame started
    uint32_t Time2 = 0;          // ms since LastFrameTime, at the last idle pass
    uint32_t Time_Chai = 0;      // a frame runs once more than this many ms passed
    uint32_t FrameCounter = 0;   // frames run; wraps past 100000000

    // World
    int32_t Map_w = 20;
    int32_t Map_h = 15;
    struct Screen {
        int32_t x = 0;
        int32_t y = 0;
        int32_t h = 4;  // base movement step in pixels per frame

        bool operator==(const Screen&) const = default;
    } Scr;
    int32_t Sprite_Getsu = 3;
    int32_t PlayerIndex = 0;
    int32_t Lives = 3;
    int32_t Level = 0;

    // Menus
    int32_t TitleActive = 1;
    int32_t TitleChoice = 0;
    int32_t PauseActive = 0;
    int32_t PauseChoice = 0;

    // Keys and the player's commands
    int32_t RightHeld = 0;
    int32_t LeftHeld = 0;
    int32_t UpHeld = 0;
    int32_t DownOn = 0;
    int32_t DownReady = 1;
    int32_t JumpReady = 1;
    int32_t FireReady = 1;
    int32_t JumpOn = 0;
    int32_t FireOn = 0;
    int32_t SpringJumpOn = 0;
    int32_t PadJumpOn = 0;
    int32_t PlayerDx = 0;

    // Parallax layer offsets, 0 to 639
    int32_t BgOffset1 = 0;
    int32_t BgOffset2 = 0;
    int32_t BgOffset3 = 0;

    int32_t SoundOnAtStart = 1;
    int32_t PaletteFromFile = 1;

    // Mouse and editor state carried by stage files
    int32_t CursorX = 0;
    int32_t CursorY = 0;
    int32_t MouseLeftDown = 0;
    int32_t EditMode = 0;
    int32_t TileSheetView = 0;
    int32_t ShowTileAttrs = 0;

    int32_t RestartX = 0;  // where the player stood when the stage started
    int32_t RestartY = 0;

    // Surface indices of the ten sprite sheets, set once by LoadSheets
    int32_t SurfaceSPl = 0;
    int32_t SurfaceSPm = 0;
    int32_t SurfaceSPmi = 0;
    int32_t SurfaceSPgi = 0;
    int32_t SurfaceSPcca = 0;
    int32_t SurfaceSPccb = 0;
    int32_t SurfaceSPmca = 0;
    int32_t SurfaceSPmcb = 0;
    int32_t SurfaceSPt = 0;
    int32_t SurfaceSPb = 0;

    // Sound indices, set once by LoadSounds
    int32_t SoundA = 0, SoundB = 0, SoundC = 0, SoundD = 0, SoundE = 0;
    int32_t SoundF = 0, SoundG = 0, SoundH = 0, SoundI = 0, SoundJ = 0;
    int32_t SoundK = 0, SoundL = 0, SoundM = 0, SoundN = 0, SoundO = 0;
    int32_t Sound1 = 0, Sound2 = 0, Sound3 = 0, Sound4 = 0;

    // The user's folder (the save game lives in its temp/ folder)
    std::string WindowsDir;

    // State of the one pseudo-random generator
    uint32_t RandomState = 0;

    bool operator==(const GameState&) const = default;
};

// The running simulation's game state (sim.game, sim/simulation.h).
extern GameState& game;

// Calls visit(name, variable) for every numeric game-state variable but the
// generator's state, in the order above, under its documented name ("Scr.x",
// "Time_Chai", ...). The variable is passed as itself (an int32_t or a
// uint32_t, const or not, as `g` is), so a visitor may also set it.
template <class State, class Visit>
void ForEachStateVariable(State& g, Visit&& visit) {
#define ZOA_VISIT(field) visit(#field, g.field)
    ZOA_VISIT(AppActive);
    ZOA_VISIT(InputActive);
    ZOA_VISIT(DisplayReady);
    ZOA_VISIT(LastFrameTime);
    ZOA_VISIT(Time2);
    ZOA_VISIT(Time_Chai);
    ZOA_VISIT(FrameCounter);
    ZOA_VISIT(Map_w);
    ZOA_VISIT(Map_h);
    ZOA_VISIT(Scr.x);
    ZOA_VISIT(Scr.y);
    ZOA_VISIT(Scr.h);
    ZOA_VISIT(Sprite_Getsu);
    ZOA_VISIT(PlayerIndex);
    ZOA_VISIT(Lives);
    ZOA_VISIT(Level);
    ZOA_VISIT(TitleActive);
    ZOA_VISIT(TitleChoice);
    ZOA_VISIT(PauseActive);
    ZOA_VISIT(PauseChoice);
    ZOA_VISIT(RightHeld);
    ZOA_VISIT(LeftHeld);
    ZOA_VISIT(UpHeld);
    ZOA_VISIT(DownOn);
    ZOA_VISIT(DownReady);
    ZOA_VISIT(JumpReady);
    ZOA_VISIT(FireReady);
    ZOA_VISIT(JumpOn);
    ZOA_VISIT(FireOn);
    ZOA_VISIT(SpringJumpOn);
    ZOA_VISIT(PadJumpOn);
    ZOA_VISIT(PlayerDx);
    ZOA_VISIT(BgOffset1);
    ZOA_VISIT(BgOffset2);
    ZOA_VISIT(BgOffset3);
    ZOA_VISIT(SoundOnAtStart);
    ZOA_VISIT(PaletteFromFile);
    ZOA_VISIT(CursorX);
    ZOA_VISIT(CursorY);
    ZOA_VISIT(MouseLeftDown);
    ZOA_VISIT(EditMode);
    ZOA_VISIT(TileSheetView);
    ZOA_VISIT(ShowTileAttrs);
    ZOA_VISIT(RestartX);
    ZOA_VISIT(RestartY);
    ZOA_VISIT(SurfaceSPl);
    ZOA_VISIT(SurfaceSPm);
    ZOA_VISIT(SurfaceSPmi);
    ZOA_VISIT(SurfaceSPgi);
    ZOA_VISIT(SurfaceSPcca);
    ZOA_VISIT(SurfaceSPccb);
    ZOA_VISIT(SurfaceSPmca);
    ZOA_VISIT(SurfaceSPmcb);
    ZOA_VISIT(SurfaceSPt);
    ZOA_VISIT(SurfaceSPb);
    ZOA_VISIT(SoundA);
    ZOA_VISIT(SoundB);
    ZOA_VISIT(SoundC);
    ZOA_VISIT(SoundD);
    ZOA_VISIT(SoundE);
    ZOA_VISIT(SoundF);
    ZOA_VISIT(SoundG);
    ZOA_VISIT(SoundH);
    ZOA_VISIT(SoundI);
    ZOA_VISIT(SoundJ);
    ZOA_VISIT(SoundK);
    ZOA_VISIT(SoundL);
    ZOA_VISIT(SoundM);
    ZOA_VISIT(SoundN);
    ZOA_VISIT(SoundO);
    ZOA_VISIT(Sound1);
    ZOA_VISIT(Sound2);
    ZOA_VISIT(Sound3);
    ZOA_VISIT(Sound4);
#undef ZOA_VISIT
}

}  // namespace zoa
