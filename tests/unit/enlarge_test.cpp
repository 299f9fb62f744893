// The view's own enlargement at the edges the end-to-end view tests reach
// poorly: zoom 1 and 32, odd sizes, cells cut at the right and bottom, rows
// wider than the picture, and nothing written outside it.
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "view/enlarge.h"

struct EnlargeCase {
    int zoom, width, height, sourceStride, viewStride;
};
class Enlarging : public testing::TestWithParam<EnlargeCase> {};

TEST_P(Enlarging, EveryViewPixelIsItsCellsSourcePixelAndNothingElseIsWritten)
{
    const EnlargeCase k = GetParam();
    const std::uint32_t untouched = 0xDEADBEEF;
    std::vector<std::uint32_t> source(static_cast<size_t>(k.sourceStride) * ((k.height + k.zoom - 1) / k.zoom));
    for (size_t i = 0; i < source.size(); ++i)
        source[i] = static_cast<std::uint32_t>(i * 2654435761u);  // every pixel its own colour
    // One spare row below the picture catches writes past its end.
    std::vector<std::uint32_t> view(static_cast<size_t>(k.viewStride) * (k.height + 1), untouched);

    enlarge(source.data(), k.sourceStride, k.zoom, view.data(), k.viewStride, k.width, k.height);

    for (int y = 0; y <= k.height; ++y) {
        for (int x = 0; x < k.viewStride; ++x) {
            const bool inside = x < k.width && y < k.height;
            ASSERT_EQ(inside ? source[static_cast<size_t>(y / k.zoom) * k.sourceStride + x / k.zoom] : untouched,
                      view[static_cast<size_t>(y) * k.viewStride + x])
                << "view pixel " << x << "," << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Edges, Enlarging,
                         testing::Values(EnlargeCase{1, 5, 3, 9, 6},            // a copy between wider rows
                                         EnlargeCase{3, 9, 6, 3, 9},            // whole cells
                                         EnlargeCase{3, 443, 178, 148, 444},    // odd width, last cells cut
                                         EnlargeCase{8, 1592, 926, 200, 1600},  // a large view
                                         EnlargeCase{32, 65, 33, 3, 96},        // one pixel of the last cells
                                         EnlargeCase{32, 31, 31, 1, 32}));      // less than one cell
