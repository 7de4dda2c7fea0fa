#pragma once
#include "gfx/geometry.h"

namespace zoa::databuild {

// Rectangles the game reads from the interface sheet (SPmi), and where the
// title menu draws its items. Right and bottom edges are exclusive.
inline constexpr Rect kTitleItemPicture[4] = {
    {1, 300, 151, 336}, {1, 337, 151, 373}, {1, 374, 151, 410}, {153, 300, 281, 336}};
inline constexpr Point kTitleItemAt[4] = {{18, 387}, {181, 387}, {349, 387}, {512, 387}};
// The visible plate of each title item inside its picture: 105 px wide, so
// the four stand 23 px from either screen edge with 58 px between them.
inline constexpr int kTitlePlateWidth = 105;
inline constexpr int kTitlePlateInset[4] = {5, 5, 0, 0};
inline constexpr Rect kPauseItemPicture[3] = {
    {485, 1, 639, 37}, {485, 38, 639, 74}, {485, 75, 639, 111}};
inline constexpr int kPauseHighlightShift = 111;
inline constexpr Rect kPauseCursor = {448, 1, 484, 37};
inline constexpr Rect kLifeLabel = {321, 107, 383, 136};
inline constexpr Rect kJetLabel = {321, 137, 383, 166};
inline constexpr Rect kLifeBar = {1, 258, 501, 275};
inline constexpr Rect kJetBar = {1, 277, 501, 294};
inline constexpr Rect kStageLabel = {384, 107, 458, 142};
inline constexpr Rect kDemoLabel = {393, 143, 448, 169};
inline constexpr Rect kGameOverPicture = {1, 426, 349, 479};
inline constexpr Rect DigitCell(int d) {
    return {32 * d + 1, 209, 32 * d + 32, 240};
}
// On the hero's sheet (SPcca): the spare-life icon, a crop of the standing frame.
inline constexpr Rect kSpareLifeIcon = {30, 30, 95, 105};

// Background strips on SPb: x, y, width, height of records 0..6.
inline constexpr Rect kBackgroundStrip[7] = {
    {0, 0, 640, 215},    {0, 216, 640, 480},   {0, 481, 640, 737},  {0, 739, 640, 959},
    {0, 960, 640, 1180}, {0, 1181, 640, 1401}, {0, 1402, 640, 1622}};

}  // namespace zoa::databuild
