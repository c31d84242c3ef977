// Design-time geometry, fonts and colours of forms and controls. Positions and
// sizes are in twips (1/1440 inch), the unit the window layouts are drawn in.
#pragma once
#include <cstdint>
#include <string>

namespace ui {

struct Rect {
    float left = 0, top = 0, width = 0, height = 0;
};

struct Font {
    std::string name = "Calibri";
    float size = 9.75f;  // points
    bool bold = false;
    bool underline = false;
};

struct Color {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Color&) const = default;
};

enum class Alignment { Left, Right, Center };
enum class WindowState { Normal, Minimized, Maximized };

// The mouse pointer shown over a control: the system's arrow, or the hand of a link.
enum class MousePointer { Default, Hand };

// Mouse button codes as the handlers receive them.
enum : int16_t { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };

}  // namespace ui
