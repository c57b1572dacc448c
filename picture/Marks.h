// Marks drawn on a picture: arrows, boxes, highlighter strokes, lines of text
// and redactions. A mark lives in the pixels of the picture it was drawn on,
// so it follows the picture through zooming and cropping; it is drawn into a
// copy of the picture only when that copy is shown, saved or copied.
#pragma once

#include "ui/Bitmap.h"
#include "ui/Handles.h"

#include <windows.h>

#include <string>
#include <vector>

namespace picture {

enum class MarkKind { Arrow, Rectangle, Highlighter, Text, Redaction };

// A point in picture pixels; fractions survive a crop taken at a zoom.
struct MarkPoint {
    double x = 0;
    double y = 0;
};

struct Mark {
    MarkKind kind = MarkKind::Arrow;
    COLORREF colour = RGB(0, 0, 0);
    // The line's width, or for a text its character height, in picture pixels.
    double width = 1;
    // Arrow: tail, head. Rectangle and redaction: two opposite corners.
    // Highlighter: the stroke as the mouse went. Text: its top-left corner.
    std::vector<MarkPoint> points;
    std::wstring text;
};

// Where picture pixels land on a target (a zoomed picture, a window):
// x * scaleX + offsetX, y * scaleY + offsetY.
struct MarkTransform {
    double scaleX = 1;
    double scaleY = 1;
    double offsetX = 0;
    double offsetY = 0;

    POINT Map(MarkPoint p) const;
    MarkPoint MapExact(MarkPoint p) const { return {p.x * scaleX + offsetX, p.y * scaleY + offsetY}; }
    // A length (a line's width) on the target, at least one pixel.
    int Length(double length) const;
};

// The font of a text mark: the system's UI font at that character height.
ui::UniqueFont TextMarkFont(int pixelHeight);

// Draws one mark on dc as the transform places it.
void DrawMark(HDC dc, const Mark& mark, const MarkTransform& at);
// Draws every mark in the order drawn, then the redactions again above all
// others, whenever those were drawn.
void DrawMarks(HDC dc, const std::vector<Mark>& marks, const MarkTransform& at);

// The target's pixels that a redaction blackens: every pixel whose
// nearest-neighbour sample of the picture lies inside the rectangle.
RECT RedactionArea(const Mark& redaction, const MarkTransform& at);
// The target's pixels that a mark may touch.
RECT MarkBounds(const Mark& mark, const MarkTransform& at);

// The marks of a picture carried onto a cut of it: the transform takes them
// into the cut's pixels (the cut's zoom and its place); those that fall wholly
// outside the cut's size are left behind, those across its edge are kept and
// clipped when drawn.
std::vector<Mark> CarryMarks(const std::vector<Mark>& marks, const MarkTransform& intoCut, SIZE cut);

} // namespace picture
