#pragma once

#include <QImage>

// Turns drawn pictures (with alpha) into the opaque pictures of a bitmap that marks its
// transparent parts with a key colour.
namespace Flatten {

// The tool-bar and speed-button key colour.
inline constexpr QRgb Magenta = 0xffff00ff;
inline constexpr QRgb White = 0xffffffff;
// What half-covered edge pixels are blended with: the usual face of tool bars, and the tree's
// background for navigator icons.
inline constexpr QRgb ToolFace = 0xffefefef;
inline constexpr QRgb TreeFace = 0xffffffff;

// Pixels covered less than half become key; the rest are blended over face. No opaque pixel is
// left equal to key, and the bottom-left pixel is always key, because the loader takes its
// colour as the transparent one.
QImage OnKey(const QImage &picture, QRgb key, QRgb face);

// The greyed picture of a disabled command, made from the flattened enabled one.
QImage Disabled(const QImage &flat, QRgb key);

} // namespace Flatten
