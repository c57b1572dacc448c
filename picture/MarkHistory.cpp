#include "picture/MarkHistory.h"

#include <utility>

namespace picture {

void MarkHistory::Reset(MarkedPicture first) {
    states_.clear();
    states_.push_back(std::move(first));
    current_ = 0;
}

void MarkHistory::Clear() {
    states_.clear();
    current_ = 0;
}

void MarkHistory::Push(MarkedPicture next) {
    if (!states_.empty()) states_.resize(current_ + 1);
    states_.push_back(std::move(next));
    current_ = states_.size() - 1;
}

bool MarkHistory::Undo() {
    if (!CanUndo()) return false;
    --current_;
    return true;
}

bool MarkHistory::Redo() {
    if (!CanRedo()) return false;
    ++current_;
    return true;
}

} // namespace picture
