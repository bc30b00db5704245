#pragma once

#include <QRect>

namespace nc {

/// Layouts are drawn in twips; at 96 logical dots per inch a pixel is 15 twips.
inline constexpr int kTwipsPerPixel = 15;

constexpr int px(int twips) {
    return twips / kTwipsPerPixel;
}
constexpr int twips(int pixels) {
    return pixels * kTwipsPerPixel;
}

/// A control's place in its container: left, top, width and height in twips.
struct TwipsRect {
    int left, top, width, height;
    QRect pixels() const { return {px(left), px(top), px(width), px(height)}; }
};

} // namespace nc
