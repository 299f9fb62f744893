// The inspector's colour arithmetic against published reference values: the
// CSS named colours' HSL and HSV as colour references list them, WebAIM's
// contrast ratios, the sRGB relative luminance of mid grey; and the rounding
// half away from zero where a tie can occur.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "inspector/colour_math.h"

namespace {

std::string as(COLORREF colour, Notation notation)
{
    return formatColour(colour, notation);
}

}  // namespace

TEST(ColourMath, EveryNotationOfOneColour)
{
    const COLORREF orange = RGB(255, 128, 0);
    EXPECT_EQ("#ff8000", as(orange, Notation::Hex));
    EXPECT_EQ("rgb(255, 128, 0)", as(orange, Notation::CssRgb));
    EXPECT_EQ("255,128,0", as(orange, Notation::Decimal));
    EXPECT_EQ("hsl(30, 100%, 50%)", as(orange, Notation::Hsl));
    EXPECT_EQ("hsv(30, 100%, 100%)", as(orange, Notation::Hsv));
    EXPECT_EQ("1.000, 0.502, 0.000", as(orange, Notation::Fractions));
    EXPECT_EQ("0.004, 0.000, 0.996", as(RGB(1, 0, 254), Notation::Fractions));
}

TEST(ColourMath, HueSaturationLightnessAndValueOfNamedColours)
{
    EXPECT_EQ("hsl(9, 100%, 64%)", as(RGB(0xff, 0x63, 0x47), Notation::Hsl));  // tomato
    EXPECT_EQ("hsv(9, 72%, 100%)", as(RGB(0xff, 0x63, 0x47), Notation::Hsv));
    EXPECT_EQ("hsl(207, 44%, 49%)", as(RGB(0x46, 0x82, 0xb4), Notation::Hsl));  // steelblue
    EXPECT_EQ("hsv(207, 61%, 71%)", as(RGB(0x46, 0x82, 0xb4), Notation::Hsv));
    EXPECT_EQ("hsl(39, 100%, 50%)", as(RGB(0xff, 0xa5, 0x00), Notation::Hsl));  // orange
    EXPECT_EQ("hsl(120, 100%, 25%)", as(RGB(0x00, 0x80, 0x00), Notation::Hsl));  // green
    EXPECT_EQ("hsl(300, 100%, 25%)", as(RGB(0x80, 0x00, 0x80), Notation::Hsl));  // purple
    EXPECT_EQ("hsl(0, 0%, 50%)", as(RGB(0x80, 0x80, 0x80), Notation::Hsl));     // grey
    EXPECT_EQ("hsv(0, 0%, 0%)", as(RGB(0, 0, 0), Notation::Hsv));
    EXPECT_EQ("hsl(0, 0%, 100%)", as(RGB(255, 255, 255), Notation::Hsl));
}

TEST(ColourMath, RoundsHalfAwayFromZeroAndWrapsTheHue)
{
    EXPECT_EQ(1, toHsl(RGB(200, 81, 80)).hue);           // 0.5 degrees
    EXPECT_EQ(1, toHsv(RGB(200, 199, 199)).saturation);  // 0.5 %
    EXPECT_EQ(0, toHsl(RGB(255, 0, 1)).hue);             // 359.76 degrees is a whole turn
    const COLORREF tie[] = {RGB(0, 10, 255), RGB(1, 11, 254)};
    EXPECT_EQ(RGB(1, 11, 255), meanColour(tie, 2));      // 0.5, 10.5, 254.5 up
}

TEST(ColourMath, MeanOfABlockChannelByChannel)
{
    COLORREF block[9];
    for (int i = 0; i < 9; ++i)
        block[i] = RGB(10 * i, 255 - i, i % 2 ? 255 : 0);
    EXPECT_EQ(RGB(40, 251, 113), meanColour(block, 9));  // 40, 251, 113.33
    EXPECT_EQ(RGB(0, 0, 0), meanColour(nullptr, 0));
}

TEST(ColourMath, RelativeLuminanceAndContrastOfWcagReferences)
{
    const COLORREF white = RGB(255, 255, 255), black = RGB(0, 0, 0);
    EXPECT_DOUBLE_EQ(1.0, relativeLuminance(white));
    EXPECT_DOUBLE_EQ(0.0, relativeLuminance(black));
    EXPECT_NEAR(0.21586, relativeLuminance(RGB(128, 128, 128)), 1e-5);
    EXPECT_NEAR(0.0030353, relativeLuminance(RGB(10, 10, 10)), 1e-7);  // below 0.04045: linear
    struct {
        COLORREF colour;
        const char* shown;
        bool aa, aaLarge, aaa, aaaLarge;
    } const cases[] = {
        {black, "21.00:1", true, true, true, true},
        {RGB(0x77, 0x77, 0x77), "4.48:1", false, true, false, false},
        {RGB(0x76, 0x76, 0x76), "4.54:1", true, true, false, true},
        {RGB(0x00, 0x00, 0xff), "8.59:1", true, true, true, true},
        {RGB(0x00, 0x80, 0x00), "5.14:1", true, true, false, true},
        {white, "1.00:1", false, false, false, false},
    };
    for (const auto& c : cases) {
        const double ratio = contrastRatio(c.colour, white);
        EXPECT_EQ(ratio, contrastRatio(white, c.colour));
        EXPECT_EQ(c.shown, formatContrast(ratio));
        const ContrastVerdicts v = judgeContrast(ratio);
        EXPECT_EQ((std::vector<bool>{c.aa, c.aaLarge, c.aaa, c.aaaLarge}),
                  (std::vector<bool>{v.aa, v.aaLarge, v.aaa, v.aaaLarge}))
            << c.shown;
    }
}
