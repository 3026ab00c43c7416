#pragma once

// The units of the window layouts and drawings, and the conversions between them. Layouts are in twips,
// 1440 to the inch; at 96 dots per inch a pixel is 15 twips and a point 20.
namespace ui::units {

constexpr int twipsPerPixel = 15;
constexpr int twipsPerPoint = 20;
constexpr double pointsPerInch = 72.0;
constexpr double pixelsPerInch = 96.0;

constexpr double twipsFromPoints(double points) {
    return points * twipsPerPoint;
}
// A font size in points as a pixel size at 96 dots per inch.
constexpr double pixelsFromPoints(double points) {
    return points * pixelsPerInch / pointsPerInch;
}

} // namespace ui::units
