// How far one tick of panning moves: nothing within a small dead zone around
// the origin, then a speed that grows with the pointer's distance from it, so
// that panning is slow and exact near the origin and fast far away.
#pragma once
#include <windows.h>

constexpr int PanDeadZone = 10;  // pixels around the origin that pan nothing
constexpr UINT PanTickMs = 20;   // one step every tick

// The fractions of a pixel not yet reported, carried to the next tick so
// that slow speeds still move.
struct PanRemainder {
    double x = 0;
    double y = 0;
};

// Pixels per tick at a distance (in pixels) from the origin.
double panSpeed(double distance);

// The whole-pixel step of one tick for the pointer at (offsetX, offsetY) from
// the origin, in the pointer's direction.
POINT panStep(int offsetX, int offsetY, PanRemainder& remainder);
