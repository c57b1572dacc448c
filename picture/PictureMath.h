// The arithmetic of the picture window: zoom steps, the crop rectangle and the
// file format a name asks for.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace picture {

// One "Zoom In" step on a side: the exact ceiling of 6W/5.
constexpr int ZoomInSide(int side) { return static_cast<int>((6LL * side + 4) / 5); }
// One "Zoom Out" step on a side: the exact ceiling of 5W/6.
constexpr int ZoomOutSide(int side) { return static_cast<int>((5LL * side + 5) / 6); }

// The largest side a zoomed picture may have; a larger one would need
// gigabytes and is refused.
constexpr int kMaxZoomSide = 16384;

// The rectangle a crop frame cuts, in the frame's coordinates: a frame whose
// edges were dragged past each other cuts the rectangle between them; one of
// zero width or height cuts nothing.
std::optional<RECT> CropRectangle(int left, int top, int width, int height);

enum class ImageFormat { Jpeg, Png, Bmp };

// ".jpg", ".jpeg" and ".jpe" name JPEG, ".png" PNG, whatever their letter
// case; every other name is a Windows bitmap.
ImageFormat FormatForFileName(const std::wstring& fileName);

// The extension of a file name with its leading dot ("" when it has none).
std::wstring ExtensionOf(const std::wstring& fileName);

} // namespace picture
