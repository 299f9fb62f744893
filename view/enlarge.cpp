// Each source row is expanded once into the first view row of its cells;
// the other zoom - 1 rows are copies of that row.
#include "view/enlarge.h"

#include <algorithm>
#include <cstring>

void enlarge(const std::uint32_t* source, int sourceStride, int zoom, std::uint32_t* view, int viewStride, int width,
             int height)
{
    if (zoom < 1 || width <= 0 || height <= 0)
        return;
    const int wholeCells = width / zoom;
    const int cut = width % zoom;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * sizeof(std::uint32_t);
    for (int y = 0; y < height; y += zoom) {
        const std::uint32_t* in = source + static_cast<std::ptrdiff_t>(y / zoom) * sourceStride;
        std::uint32_t* first = view + static_cast<std::ptrdiff_t>(y) * viewStride;
        std::uint32_t* out = first;
        if (zoom == 1) {
            std::memcpy(out, in, rowBytes);
        } else {
            for (int c = 0; c < wholeCells; ++c)
                out = std::fill_n(out, zoom, in[c]);
            if (cut > 0)
                std::fill_n(out, cut, in[wholeCells]);
        }
        const int rows = std::min(zoom, height - y);
        for (int k = 1; k < rows; ++k)
            std::memcpy(first + static_cast<std::ptrdiff_t>(k) * viewStride, first, rowBytes);
    }
}
