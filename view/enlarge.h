// Nearest-neighbour enlargement of 32-bit pixels, for the view's paint on a
// true-colour display: Wine's own stretch copies pixel by pixel and costs
// several times more.
#pragma once
#include <cstdint>

// Fills width x height pixels of the view, rows viewStride pixels apart, with
// the source enlarged zoom times: view pixel (x, y) is source pixel
// (x / zoom, y / zoom), source rows sourceStride pixels apart. A width or
// height that is not a whole multiple of zoom cuts the last cells. The source
// must hold the cells the view reaches.
void enlarge(const std::uint32_t* source, int sourceStride, int zoom, std::uint32_t* view, int viewStride, int width,
             int height);
