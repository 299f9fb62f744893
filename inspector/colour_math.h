// The inspector's colour arithmetic, as plain functions of plain values: the
// notations of a colour, the mean of a block of pixels, and the WCAG 2.x
// relative luminance, contrast ratio and its verdicts. Every rounding is half
// away from zero.
#pragma once
#include <windows.h>

#include <cstddef>
#include <string>

// The notations, in the order the inspector lists them (and stores the one
// last copied).
enum class Notation { Hex, CssRgb, Decimal, Hsl, Hsv, Fractions };
constexpr int NotationCount = 6;

// The colour in a notation: "#ff8000", "rgb(255, 128, 0)", "255,128,0",
// "hsl(30, 100%, 50%)", "hsv(30, 100%, 100%)" or "1.000, 0.502, 0.000".
std::string formatColour(COLORREF colour, Notation notation);

// Hue in whole degrees (0 to 359), saturation and lightness (or value) in
// whole percent.
struct HueTriple {
    int hue;
    int saturation;
    int third;
};
HueTriple toHsl(COLORREF colour);
HueTriple toHsv(COLORREF colour);

// Each channel the mean of the pixels' channel, rounded; black for none.
COLORREF meanColour(const COLORREF* pixels, std::size_t count);

// WCAG 2.x: the sRGB channels made linear (the threshold 0.04045), weighted
// 0.2126, 0.7152, 0.0722. From 0 (black) to 1 (white).
double relativeLuminance(COLORREF colour);
// (lighter + 0.05) / (darker + 0.05), from 1 to 21, whichever comes first.
double contrastRatio(COLORREF a, COLORREF b);
// The ratio with two decimals: "4.48:1".
std::string formatContrast(double ratio);

// Whether a ratio passes each level: AA 4.5 (large text 3), AAA 7 (large
// text 4.5). The ratio is judged as computed, not as shown rounded.
struct ContrastVerdicts {
    bool aa;
    bool aaLarge;
    bool aaa;
    bool aaaLarge;
};
ContrastVerdicts judgeContrast(double ratio);
