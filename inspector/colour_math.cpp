#include "inspector/colour_math.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

// n / d rounded half away from zero, for n >= 0 and d > 0: exact, where a
// floating-point quotient could land a tie on either side.
long long roundedQuotient(long long n, long long d)
{
    return (2 * n + d) / (2 * d);
}

struct Channels {
    int r, g, b, max, min;
};

Channels channelsOf(COLORREF colour)
{
    Channels c{GetRValue(colour), GetGValue(colour), GetBValue(colour), 0, 0};
    c.max = c.r > c.g ? (c.r > c.b ? c.r : c.b) : (c.g > c.b ? c.g : c.b);
    c.min = c.r < c.g ? (c.r < c.b ? c.r : c.b) : (c.g < c.b ? c.g : c.b);
    return c;
}

// The hue in whole degrees, from the exact sixth of the circle the largest
// channel gives and the offset the other two make in it.
int hueOf(const Channels& c)
{
    const int d = c.max - c.min;
    if (d == 0)
        return 0;
    long long sixths;
    if (c.max == c.r)
        sixths = 60LL * (c.g - c.b) + (c.g < c.b ? 360LL * d : 0);
    else if (c.max == c.g)
        sixths = 60LL * (c.b - c.r) + 120LL * d;
    else
        sixths = 60LL * (c.r - c.g) + 240LL * d;
    return static_cast<int>(roundedQuotient(sixths, d) % 360);
}

double linearChannel(int value)
{
    const double c = value / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

std::string printed(const char* format, int a, int b, int c)
{
    char text[64];
    std::snprintf(text, sizeof(text), format, a, b, c);
    return text;
}

// A channel as a fraction of 255 with three decimals.
std::string fraction(int value)
{
    const long long thousandths = roundedQuotient(1000LL * value, 255);
    char text[16];
    std::snprintf(text, sizeof(text), "%lld.%03lld", thousandths / 1000, thousandths % 1000);
    return text;
}

}  // namespace

HueTriple toHsl(COLORREF colour)
{
    const Channels c = channelsOf(colour);
    // Saturation (max - min) / (1 - |2L - 1|), with L = (max + min) / 510.
    const int room = 255 - std::abs(c.max + c.min - 255);
    const int saturation = room > 0 ? static_cast<int>(roundedQuotient(100LL * (c.max - c.min), room)) : 0;
    return {hueOf(c), saturation, static_cast<int>(roundedQuotient(100LL * (c.max + c.min), 510))};
}

HueTriple toHsv(COLORREF colour)
{
    const Channels c = channelsOf(colour);
    const int saturation = c.max > 0 ? static_cast<int>(roundedQuotient(100LL * (c.max - c.min), c.max)) : 0;
    return {hueOf(c), saturation, static_cast<int>(roundedQuotient(100LL * c.max, 255))};
}

std::string formatColour(COLORREF colour, Notation notation)
{
    const int r = GetRValue(colour), g = GetGValue(colour), b = GetBValue(colour);
    switch (notation) {
    case Notation::Hex:
        return printed("#%02x%02x%02x", r, g, b);
    case Notation::CssRgb:
        return printed("rgb(%d, %d, %d)", r, g, b);
    case Notation::Decimal:
        return printed("%d,%d,%d", r, g, b);
    case Notation::Hsl: {
        const HueTriple hsl = toHsl(colour);
        return printed("hsl(%d, %d%%, %d%%)", hsl.hue, hsl.saturation, hsl.third);
    }
    case Notation::Hsv: {
        const HueTriple hsv = toHsv(colour);
        return printed("hsv(%d, %d%%, %d%%)", hsv.hue, hsv.saturation, hsv.third);
    }
    case Notation::Fractions:
        return fraction(r) + ", " + fraction(g) + ", " + fraction(b);
    }
    return std::string();
}

COLORREF meanColour(const COLORREF* pixels, std::size_t count)
{
    if (!pixels || count == 0)
        return RGB(0, 0, 0);
    long long r = 0, g = 0, b = 0;
    for (std::size_t i = 0; i < count; ++i) {
        r += GetRValue(pixels[i]);
        g += GetGValue(pixels[i]);
        b += GetBValue(pixels[i]);
    }
    const long long n = static_cast<long long>(count);
    return RGB(roundedQuotient(r, n), roundedQuotient(g, n), roundedQuotient(b, n));
}

double relativeLuminance(COLORREF colour)
{
    return 0.2126 * linearChannel(GetRValue(colour)) + 0.7152 * linearChannel(GetGValue(colour)) +
           0.0722 * linearChannel(GetBValue(colour));
}

double contrastRatio(COLORREF a, COLORREF b)
{
    const double la = relativeLuminance(a), lb = relativeLuminance(b);
    return la > lb ? (la + 0.05) / (lb + 0.05) : (lb + 0.05) / (la + 0.05);
}

std::string formatContrast(double ratio)
{
    const long long hundredths = static_cast<long long>(std::floor(ratio * 100 + 0.5));
    char text[32];
    std::snprintf(text, sizeof(text), "%lld.%02lld:1", hundredths / 100, hundredths % 100);
    return text;
}

ContrastVerdicts judgeContrast(double ratio)
{
    return {ratio >= 4.5, ratio >= 3.0, ratio >= 7.0, ratio >= 4.5};
}
