#pragma once

namespace zoa {

// The game's picture: 640 x 480 pixels, whatever the window or screen.
constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;

}  // namespace zoa
