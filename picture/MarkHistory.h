// The steps a user took on a picture: each mark drawn, each crop and each
// Restore, to go back and forth through with Undo and Redo.
#pragma once

#include "picture/Marks.h"
#include "ui/Bitmap.h"

#include <memory>
#include <vector>

namespace picture {

// One state of the picture: the unmarked master that zooming renders from,
// the marks on it, and the size it was shown at when it was left.
struct MarkedPicture {
    std::shared_ptr<const ui::Bitmap> master;
    std::vector<Mark> marks;
    SIZE shown{0, 0};
};

class MarkHistory {
public:
    // Starts again from one state, forgetting every step.
    void Reset(MarkedPicture first);
    void Clear();
    bool Empty() const { return states_.empty(); }

    // A new step; the steps that were undone are gone.
    void Push(MarkedPicture next);
    // Back or forth one step; false when there is none that way.
    bool Undo();
    bool Redo();
    bool CanUndo() const { return current_ > 0; }
    bool CanRedo() const { return current_ + 1 < states_.size(); }

    const MarkedPicture& Current() const { return states_[current_]; }
    MarkedPicture& Current() { return states_[current_]; }

private:
    std::vector<MarkedPicture> states_;
    std::size_t current_ = 0;
};

} // namespace picture
