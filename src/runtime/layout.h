#pragma once

#include <array>

// Layout tables describe a window the way the old forms designer stored it:
// positions and sizes in twips, colours as RGB or numbered system colours,
// fonts by face, size and weight. The runtime turns them into widgets.

namespace runtime {

struct Colour {
    enum class Kind { Rgb, System };
    Kind kind = Kind::System;
    unsigned value = 0; // 0xRRGGBB, or the system colour's index

    static constexpr Colour rgb(unsigned r, unsigned g, unsigned b)
    {
        return {Kind::Rgb, (r << 16) | (g << 8) | b};
    }
    static constexpr Colour system(unsigned index) { return {Kind::System, index}; }
};

// The system colours the program's windows use, by their index.
namespace SystemColour {
inline constexpr Colour ActiveTitleBar = Colour::system(2);
inline constexpr Colour WindowBackground = Colour::system(5);
inline constexpr Colour ActiveTitleBarText = Colour::system(9);
inline constexpr Colour ActiveBorder = Colour::system(10);
inline constexpr Colour ButtonFace = Colour::system(15);
inline constexpr Colour ButtonText = Colour::system(18);
} // namespace SystemColour

inline constexpr Colour Black = Colour::rgb(0, 0, 0);
inline constexpr Colour White = Colour::rgb(255, 255, 255);

struct Font {
    const char *face = "MS Sans Serif";
    double points = 8.25;
    int weight = 400; // 400 normal, 700 bold
};

inline constexpr Font DefaultFont{};

struct Point {
    int x = 0;
    int y = 0;
};

enum class ControlKind { Button, Label, Timer, Line, Shape };

// One control of a window. Which members matter depends on the kind:
// buttons, labels and shapes use the box (left, top, width, height),
// lines run from `from` to `to`, timers only have an interval.
struct Control {
    ControlKind kind = ControlKind::Label;
    const char *name = "";
    const char *caption = "";
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    Point from{};
    Point to{};
    Colour back = SystemColour::ButtonFace;
    Colour fore = SystemColour::ButtonText;
    bool transparent = false; // labels: draw no background
    Font font = DefaultFont;
    int tabIndex = 0;
    int borderWidth = 1; // lines and shapes, in pixels
    int interval = 0;    // timers, in milliseconds
    bool enabled = true; // timers
    bool flat = false;   // buttons
    // What a screen reader says of the control where its caption does not
    // say what it does, and what it adds after the name.
    const char *accessibleName = "";
    const char *description = "";
};

enum class Border { None, FixedDialog };

struct Window {
    const char *caption = "";
    Border border = Border::None;
    int clientWidth = 0; // twips
    int clientHeight = 0;
    Colour back = SystemColour::ButtonFace;
    // The labels whose texts, one after the other, describe the window to a
    // screen reader.
    std::array<const char *, 2> describedBy{};
};

} // namespace runtime
