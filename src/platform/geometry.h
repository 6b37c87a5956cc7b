#pragma once

// Sizes and positions in points, single precision, as the renderer and the screens
// compute them. Double precision is used only where a computation asks for it.

namespace lumigrave {

struct Size {
    float width = 0;
    float height = 0;

    // The side that decides the output size: the width, unless the height is greater.
    float longerSide() const { return height > width ? height : width; }
    bool isEmpty() const { return width <= 0 || height <= 0; }
    friend bool operator==(const Size&, const Size&) = default;
};

struct Point {
    float x = 0;
    float y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
    Point origin;
    Size size;
    friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace lumigrave
