#include "panx/pan_step.h"

#include <cmath>

double panSpeed(double distance)
{
    const double beyond = distance - PanDeadZone;
    if (beyond <= 0)
        return 0;
    // Linear near the origin, quadratic far away: about 25 pixels a second
    // just outside the dead zone, 400 at 100 pixels, over 2000 at 300.
    return beyond / 20 + beyond * beyond / 3000;
}

POINT panStep(int offsetX, int offsetY, PanRemainder& remainder)
{
    const double distance = std::hypot(static_cast<double>(offsetX), static_cast<double>(offsetY));
    const double speed = panSpeed(distance);
    if (speed <= 0) {
        remainder = PanRemainder{};
        return POINT{0, 0};
    }
    remainder.x += speed * offsetX / distance;
    remainder.y += speed * offsetY / distance;
    const double wholeX = std::trunc(remainder.x);
    const double wholeY = std::trunc(remainder.y);
    remainder.x -= wholeX;
    remainder.y -= wholeY;
    return POINT{static_cast<LONG>(wholeX), static_cast<LONG>(wholeY)};
}
