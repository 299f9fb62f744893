// The look of the small round marker shown at the point where panning began.
#pragma once
#include <windows.h>

constexpr int OriginMarkerSize = 28;

// The round outline the marker window is cut to (the window owns it once set).
HRGN createOriginMarkerRegion();

// Draws the marker: a light disc with a dark rim, a dot at the origin and an
// arrow head towards each of the four directions.
void paintOriginMarker(HDC dc);
