#pragma once
// Plain values shared by every control: colours, fonts and placement.
#include <cstdint>
#include <string>

namespace kav::widgets {

// A colour value as the installation script writes it: red in the lowest
// byte, then green, then blue ($FF0000 is blue). Values with the high byte
// set are system colours.
using Color = std::uint32_t;

inline constexpr Color clBlack = 0x000000;
inline constexpr Color clWhite = 0xFFFFFF;
inline constexpr Color clBlue = 0xFF0000;
inline constexpr Color clRed = 0x0000FF;
inline constexpr Color clBtnFace = 0x8000000F;
inline constexpr Color clHighlight = 0x8000000D;
inline constexpr Color clWindow = 0x80000005;
inline constexpr Color clWindowText = 0x80000008;

// The mouse pointer shown while the mouse is over a control.
enum class Pointer { Default, HandPoint };

struct Font {
    std::string name = "MS Sans Serif";
    int size = 8;  // points
    Color color = clWindowText;

    bool operator==(const Font&) const = default;
};

struct Bounds {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool operator==(const Bounds&) const = default;
};

}  // namespace kav::widgets
