#include "picture/Marks.h"

#include "ui/Resources.h"

#include <algorithm>
#include <cmath>

namespace picture {

namespace {

// The corners of a two-point mark on the target, put in order.
void Corners(const Mark& mark, const MarkTransform& at, MarkPoint& low, MarkPoint& high) {
    const MarkPoint a = at.MapExact(mark.points[0]), b = at.MapExact(mark.points.back());
    low = {std::min(a.x, b.x), std::min(a.y, b.y)};
    high = {std::max(a.x, b.x), std::max(a.y, b.y)};
}

ui::UniquePen LinePen(COLORREF colour, int width, DWORD ends) {
    // A geometric pen keeps its width exactly on every slope; cosmetic pens
    // wider than a pixel are not guaranteed that.
    LOGBRUSH brush{BS_SOLID, colour, 0};
    return ui::UniquePen(ExtCreatePen(PS_GEOMETRIC | PS_SOLID | ends, width, &brush, 0, nullptr));
}

int TextHeight(const Mark& mark, const MarkTransform& at) {
    return std::max(1, static_cast<int>(std::lround(mark.width * at.scaleY)));
}

void DrawArrow(HDC dc, const Mark& mark, const MarkTransform& at) {
    const MarkPoint tail = at.MapExact(mark.points[0]), head = at.MapExact(mark.points.back());
    const double dx = head.x - tail.x, dy = head.y - tail.y, length = std::hypot(dx, dy);
    if (length < 0.5) return;
    const int width = at.Length(mark.width);
    // The head grows with the line so that a thick arrow still reads as one.
    const double headLength = std::min(length, std::max(6.0, 4.0 * width));
    const double ux = dx / length, uy = dy / length;
    const MarkPoint base{head.x - ux * headLength, head.y - uy * headLength};
    const double half = headLength * 0.5;
    const POINT triangle[3] = {
        {std::lround(head.x), std::lround(head.y)},
        {std::lround(base.x - uy * half), std::lround(base.y + ux * half)},
        {std::lround(base.x + uy * half), std::lround(base.y - ux * half)},
    };
    // The shaft ends inside the head, so that its flat end never shows past
    // the head's sides.
    const POINT shaftEnd{std::lround(head.x - ux * headLength * 0.7), std::lround(head.y - uy * headLength * 0.7)};
    {
        ui::UniquePen pen = LinePen(mark.colour, width, PS_ENDCAP_ROUND | PS_JOIN_ROUND);
        ui::ScopedSelect selectPen(dc, pen.Get());
        MoveToEx(dc, std::lround(tail.x), std::lround(tail.y), nullptr);
        LineTo(dc, shaftEnd.x, shaftEnd.y);
    }
    ui::UniqueBrush brush(CreateSolidBrush(mark.colour));
    ui::ScopedSelect selectBrush(dc, brush.Get());
    ui::ScopedSelect selectPen(dc, GetStockObject(NULL_PEN));
    Polygon(dc, triangle, 3);
}

void DrawRectangle(HDC dc, const Mark& mark, const MarkTransform& at) {
    MarkPoint low, high;
    Corners(mark, at, low, high);
    ui::UniquePen pen = LinePen(mark.colour, at.Length(mark.width), PS_ENDCAP_SQUARE | PS_JOIN_MITER);
    ui::ScopedSelect selectPen(dc, pen.Get());
    ui::ScopedSelect selectBrush(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, std::lround(low.x), std::lround(low.y), std::lround(high.x), std::lround(high.y));
}

void DrawHighlighter(HDC dc, const Mark& mark, const MarkTransform& at) {
    std::vector<POINT> points;
    points.reserve(mark.points.size());
    for (const MarkPoint& p : mark.points)
        points.push_back(at.Map(p));
    const int width = at.Length(mark.width);
    // The ink multiplies the picture's colours by its own, as a highlighter
    // on paper does: white turns to the ink's colour and dark text stays
    // dark. Drawing twice over the same place changes nothing more, so a
    // stroke that crosses itself stays even.
    const int oldMode = SetROP2(dc, R2_MASKPEN);
    const bool dot = std::all_of(points.begin(), points.end(),
                                 [&](const POINT& p) { return p.x == points[0].x && p.y == points[0].y; });
    if (dot) {
        ui::UniqueBrush brush(CreateSolidBrush(mark.colour));
        ui::ScopedSelect selectBrush(dc, brush.Get());
        ui::ScopedSelect selectPen(dc, GetStockObject(NULL_PEN));
        const int r = std::max(1, width / 2);
        Ellipse(dc, points[0].x - r, points[0].y - r, points[0].x + r + 1, points[0].y + r + 1);
    } else {
        ui::UniquePen pen = LinePen(mark.colour, width, PS_ENDCAP_ROUND | PS_JOIN_ROUND);
        ui::ScopedSelect selectPen(dc, pen.Get());
        Polyline(dc, points.data(), static_cast<int>(points.size()));
    }
    SetROP2(dc, oldMode);
}

void DrawTextMark(HDC dc, const Mark& mark, const MarkTransform& at) {
    if (mark.text.empty()) return;
    ui::UniqueFont font = TextMarkFont(TextHeight(mark, at));
    ui::ScopedSelect selectFont(dc, font.Get());
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(dc, mark.colour);
    const UINT oldAlign = SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    const POINT origin = at.Map(mark.points[0]);
    TextOutW(dc, origin.x, origin.y, mark.text.c_str(), static_cast<int>(mark.text.size()));
    SetTextAlign(dc, oldAlign);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
}

} // namespace

POINT MarkTransform::Map(MarkPoint p) const {
    const MarkPoint m = MapExact(p);
    return {std::lround(m.x), std::lround(m.y)};
}

int MarkTransform::Length(double length) const {
    return std::max(1, static_cast<int>(std::lround(length * (scaleX + scaleY) / 2)));
}

ui::UniqueFont TextMarkFont(int pixelHeight) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    std::wstring face = L"Segoe UI";
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        face = metrics.lfMessageFont.lfFaceName;
    return ui::CreateFontOf(face, pixelHeight);
}

void DrawMark(HDC dc, const Mark& mark, const MarkTransform& at) {
    if (mark.points.empty()) return;
    switch (mark.kind) {
    case MarkKind::Arrow:
        DrawArrow(dc, mark, at);
        break;
    case MarkKind::Rectangle:
        DrawRectangle(dc, mark, at);
        break;
    case MarkKind::Highlighter:
        DrawHighlighter(dc, mark, at);
        break;
    case MarkKind::Text:
        DrawTextMark(dc, mark, at);
        break;
    case MarkKind::Redaction: {
        const RECT area = RedactionArea(mark, at);
        // BLACKNESS writes zero into every byte, whatever the pen, brush or
        // mix mode of the DC: (0, 0, 0) exactly.
        PatBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, BLACKNESS);
        break;
    }
    }
}

void DrawMarks(HDC dc, const std::vector<Mark>& marks, const MarkTransform& at) {
    for (const Mark& mark : marks)
        if (mark.kind != MarkKind::Redaction) DrawMark(dc, mark, at);
    for (const Mark& mark : marks)
        if (mark.kind == MarkKind::Redaction) DrawMark(dc, mark, at);
}

RECT RedactionArea(const Mark& redaction, const MarkTransform& at) {
    if (redaction.points.empty()) return {};
    MarkPoint low, high;
    Corners(redaction, at, low, high);
    // A target pixel shows the picture pixel under its centre. Rounding the
    // left and top down and the right and bottom up takes in every target
    // pixel whose centre falls inside, and never fewer.
    return {static_cast<LONG>(std::floor(low.x)), static_cast<LONG>(std::floor(low.y)),
            static_cast<LONG>(std::ceil(high.x)), static_cast<LONG>(std::ceil(high.y))};
}

RECT MarkBounds(const Mark& mark, const MarkTransform& at) {
    if (mark.points.empty()) return {};
    if (mark.kind == MarkKind::Redaction) return RedactionArea(mark, at);
    if (mark.kind == MarkKind::Text) {
        const int height = TextHeight(mark, at);
        ui::UniqueFont font = TextMarkFont(height);
        // Room for the caret that follows the text while it is typed.
        const SIZE size = ui::TextExtent(font.Get(), mark.text + L"  ");
        const POINT origin = at.Map(mark.points[0]);
        return {origin.x - 2, origin.y - 2, origin.x + size.cx + 2, origin.y + std::max<LONG>(size.cy, height) + 2};
    }
    double left = 1e18, top = 1e18, right = -1e18, bottom = -1e18;
    for (const MarkPoint& p : mark.points) {
        const MarkPoint m = at.MapExact(p);
        left = std::min(left, m.x);
        top = std::min(top, m.y);
        right = std::max(right, m.x);
        bottom = std::max(bottom, m.y);
    }
    const int width = at.Length(mark.width);
    // An arrow's head reaches sideways by half its length, at most 2 widths.
    const double reach = (mark.kind == MarkKind::Arrow ? std::max(3.0, 2.0 * width) : width / 2.0) + 2;
    return {static_cast<LONG>(std::floor(left - reach)), static_cast<LONG>(std::floor(top - reach)),
            static_cast<LONG>(std::ceil(right + reach)), static_cast<LONG>(std::ceil(bottom + reach))};
}

std::vector<Mark> CarryMarks(const std::vector<Mark>& marks, const MarkTransform& intoCut, SIZE cut) {
    const RECT inside{0, 0, cut.cx, cut.cy};
    const MarkTransform same;
    std::vector<Mark> carried;
    for (const Mark& mark : marks) {
        Mark moved = mark;
        for (MarkPoint& p : moved.points)
            p = intoCut.MapExact(p);
        moved.width = mark.kind == MarkKind::Text ? mark.width * intoCut.scaleY
                                                  : mark.width * (intoCut.scaleX + intoCut.scaleY) / 2;
        const RECT bounds = MarkBounds(moved, same);
        RECT overlap;
        if (IntersectRect(&overlap, &bounds, &inside)) carried.push_back(std::move(moved));
    }
    return carried;
}

} // namespace picture
