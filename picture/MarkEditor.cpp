#include "picture/MarkEditor.h"

#include "ui/Event.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace picture {

namespace {

std::size_t ToolIndex(MarkKind tool) { return static_cast<std::size_t>(tool); }

// Whether a finished mark shows anything: a drag that went nowhere, or a
// text with no characters, is no mark.
bool ShowsAnything(const Mark& mark) {
    switch (mark.kind) {
    case MarkKind::Highlighter:
        return !mark.points.empty();
    case MarkKind::Text:
        return !mark.text.empty();
    case MarkKind::Arrow:
        return std::hypot(mark.points[1].x - mark.points[0].x, mark.points[1].y - mark.points[0].y) >= 1;
    default:
        return std::abs(mark.points[1].x - mark.points[0].x) >= 1 && std::abs(mark.points[1].y - mark.points[0].y) >= 1;
    }
}

} // namespace

MarkEditor::MarkEditor() {
    colours_.fill(kPalette[0]);
    colours_[ToolIndex(MarkKind::Highlighter)] = kPalette[1];
    colours_[ToolIndex(MarkKind::Redaction)] = kRedactionColour;
}

void MarkEditor::ChooseTool(std::optional<MarkKind> tool) {
    Finish();
    tool_ = tool;
}

COLORREF MarkEditor::Colour(MarkKind tool) const { return colours_[ToolIndex(tool)]; }

void MarkEditor::SetColour(MarkKind tool, COLORREF colour) {
    if (tool == MarkKind::Redaction) return;
    if (std::find(kPalette.begin(), kPalette.end(), colour) == kPalette.end()) return;
    colours_[ToolIndex(tool)] = colour;
    if (mark_ && mark_->kind == tool) mark_->colour = colour;
}

void MarkEditor::Press(MarkPoint at, double width) {
    // A click elsewhere ends a text being typed; a press during a drag (a
    // second button) changes nothing.
    if (Typing()) Finish();
    if (!tool_ || mark_) return;
    Mark mark{*tool_, Colour(*tool_), width, {at}, {}};
    if (*tool_ != MarkKind::Highlighter && *tool_ != MarkKind::Text) mark.points.push_back(at);
    mark_ = std::move(mark);
}

void MarkEditor::Drag(MarkPoint at) {
    if (!mark_ || Typing()) return;
    if (mark_->kind == MarkKind::Highlighter) {
        const MarkPoint& last = mark_->points.back();
        if (last.x != at.x || last.y != at.y) mark_->points.push_back(at);
    } else {
        mark_->points[1] = at;
    }
}

void MarkEditor::Release(MarkPoint at) {
    if (!mark_ || Typing()) return;
    Drag(at);
    Finish();
}

void MarkEditor::Type(wchar_t character) {
    if (Typing() && character >= L' ') mark_->text += character;
}

void MarkEditor::Backspace() {
    if (Typing() && !mark_->text.empty()) mark_->text.pop_back();
}

void MarkEditor::Finish() {
    if (!mark_) return;
    Mark mark = std::move(*mark_);
    mark_.reset();
    if (ShowsAnything(mark)) ui::Raise(Finished, std::move(mark));
}

void MarkEditor::Cancel() { mark_.reset(); }

Mark MarkEditor::RecentPart() const {
    if (!mark_) return {};
    if (mark_->kind != MarkKind::Highlighter || mark_->points.size() < 2) return *mark_;
    Mark part = *mark_;
    part.points.assign(mark_->points.end() - 2, mark_->points.end());
    return part;
}

} // namespace picture
