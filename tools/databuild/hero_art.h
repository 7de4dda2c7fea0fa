#pragma once
#include "painter.h"

namespace zoa::databuild {

// The hero, facing right, in frame coordinates of a 121 x 105 frame: body
// centred on x 60 inside x 30..90, head from y 30, feet on rows 100..104.
struct HeroPose {
    float dx = 0, dy = 0;  // body offset from the standing position
    float lean = 0;        // upper body lean in degrees, forward positive
    float legFront = 0, kneeFront = 4;
    float legBack = 0, kneeBack = 4;
    float armFront = 8, elbowFront = 14;
    float armBack = -8, elbowBack = 14;
    int flame = 0;          // jet flame length, 0 = off
    float scarfLift = 0;    // 0 hangs, 1 streams straight back
    float scarfWave = 0;    // phase of the scarf's ripple
    bool holdBomb = false;  // an energy bomb in the front hand
    bool hurt = false;      // defeat face
    bool worried = false;   // teetering face
    bool blink = false;
};

void DrawHeroPose(Painter& p, const HeroPose& pose);

// Frame `frame` of animation row `row` (0 stand, 1 walk, 2 throw, 3 charge,
// 4 fly, 5 air, 6 push, 7 ledge, 9 defeat).
HeroPose HeroFramePose(int row, int frame);
void DrawHeroFrame(Painter& p, int row, int frame);

}  // namespace zoa::databuild
