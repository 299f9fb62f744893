#include "panx/origin_marker.h"

#include "base/owned_handle.h"
#include "base/scope_guards.h"

namespace {

const COLORREF DiscColour = RGB(240, 240, 240);
const COLORREF InkColour = RGB(64, 64, 64);

void arrowHead(HDC dc, int tipX, int tipY, int dirX, int dirY)
{
    // A small triangle with its tip at (tipX, tipY) pointing along (dirX, dirY).
    const int back = 4, half = 4;
    const POINT points[3] = {
        {tipX, tipY},
        {tipX - dirX * back - dirY * half, tipY - dirY * back - dirX * half},
        {tipX - dirX * back + dirY * half, tipY - dirY * back + dirX * half},
    };
    Polygon(dc, points, 3);
}

}  // namespace

HRGN createOriginMarkerRegion()
{
    return CreateEllipticRgn(0, 0, OriginMarkerSize + 1, OriginMarkerSize + 1);
}

void paintOriginMarker(HDC dc)
{
    const int size = OriginMarkerSize;
    const int c = size / 2;
    OwnedBrush disc(CreateSolidBrush(DiscColour));
    OwnedBrush ink(CreateSolidBrush(InkColour));
    OwnedPen rim(CreatePen(PS_SOLID, 2, InkColour));
    {
        SelectedObject brush(dc, disc);
        SelectedObject pen(dc, rim);
        Ellipse(dc, 1, 1, size, size);
    }
    SelectedObject brush(dc, ink);
    SelectedObject pen(dc, GetStockObject(NULL_PEN));
    Ellipse(dc, c - 2, c - 2, c + 3, c + 3);
    arrowHead(dc, c, 4, 0, -1);
    arrowHead(dc, c, size - 5, 0, 1);
    arrowHead(dc, 4, c, -1, 0);
    arrowHead(dc, size - 5, c, 1, 0);
}
