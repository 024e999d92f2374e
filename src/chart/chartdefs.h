#pragma once

#include <cstdint>
#include <string>

// Shared vocabulary of the chart layer: colours are 0xAARRGGBB where the top byte is
// transparency (0 opaque, 0xff fully transparent), so plain 0xRRGGBB is opaque.
namespace OrvaneChart {

using Color = std::uint32_t;

inline constexpr Color Transparent = 0xff000000u;
inline constexpr Color TextColor = 0x000000u;
inline constexpr Color LineColor = 0x000000u;

// The pattern a curve is drawn in. Curves take the colours first and the patterns
// after them, so many specimens still tell apart.
enum class LineDash {
    Solid,
    Dashed,
    Dotted,
    DashDot,
    DashDotDot,
};

// A curve left out of the results: its own colour, see-through (0x60 of 0xff
// opaque), so it stays recognisable but steps back behind the others.
inline constexpr Color FadedColor(Color color)
{
    return color == Transparent ? color : (color & 0xffffffu) | 0x9f000000u;
}

// Marks a missing value in a data series.
inline constexpr double NoValue = 1.7e308;

// Anchor of a text relative to its reference point, laid out like a numeric keypad.
enum Alignment {
    BottomLeft = 1,
    BottomCenter = 2,
    BottomRight = 3,
    Left = 4,
    Center = 5,
    Right = 6,
    TopLeft = 7,
    TopCenter = 8,
    TopRight = 9,
    Bottom = BottomCenter,
    Top = TopCenter,
};

// How the data sets of one layer combine; line layers only ever overlay them.
enum DataCombineMethod {
    Overlay = 0,
};

// A text's font (a font file name such as "arialbd.ttf", empty for the default
// sans-serif), size in points and colour.
struct TextStyle {
    std::string font;
    double size = 8;
    Color color = TextColor;
};

inline bool IsNoValue(double value) { return !(value < NoValue && value > -NoValue); }

} // namespace OrvaneChart
