// The mark being drawn: the chosen tool and each tool's colour, a drag that
// becomes an arrow, a box, a highlighter stroke or a redaction, and a text
// typed where the user clicked. Points are in picture pixels; the picture
// window turns the mouse into them and shows what is in progress.
#pragma once

#include "picture/Marks.h"

#include <array>
#include <functional>
#include <optional>

namespace picture {

class MarkEditor {
public:
    // The colours a tool can take; red by default, except the highlighter's
    // ink, yellow. A redaction is always black.
    static constexpr std::array<COLORREF, 5> kPalette = {RGB(230, 0, 0), RGB(255, 230, 0), RGB(0, 170, 60),
                                                         RGB(0, 100, 230), RGB(0, 0, 0)};
    static constexpr COLORREF kRedactionColour = RGB(0, 0, 0);

    MarkEditor();

    const std::optional<MarkKind>& Tool() const { return tool_; }
    // Chooses a tool, or none; a mark in progress is finished first.
    void ChooseTool(std::optional<MarkKind> tool);
    COLORREF Colour(MarkKind tool) const;
    // Every tool but Redact takes one of the palette's colours.
    void SetColour(MarkKind tool, COLORREF colour);

    // A press with the chosen tool starts a mark there with the given width
    // (the line's, or the text's character height); a drag extends it; the
    // release ends a drawn mark. A text goes on until Enter.
    void Press(MarkPoint at, double width);
    void Drag(MarkPoint at);
    void Release(MarkPoint at);
    bool Typing() const { return mark_ && mark_->kind == MarkKind::Text; }
    // Typed characters; Backspace takes the last one back.
    void Type(wchar_t character);
    void Backspace();

    // Ends the mark in progress, raising Finished when it shows anything.
    void Finish();
    // Drops the mark in progress.
    void Cancel();

    const std::optional<Mark>& InProgress() const { return mark_; }
    // What of the mark in progress the last input changed: the newest
    // piece of a highlighter stroke, the whole of any other mark.
    Mark RecentPart() const;

    std::function<void(Mark)> Finished;

private:
    std::optional<MarkKind> tool_;
    std::array<COLORREF, 5> colours_;
    std::optional<Mark> mark_;
};

} // namespace picture
