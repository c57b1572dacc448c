// Raising an event: a std::function member that no one may have set.
#pragma once

#include <functional>

namespace ui {

template <typename... Params, typename... Args>
void Raise(const std::function<void(Params...)>& event, Args&&... args) {
    if (event) event(std::forward<Args>(args)...);
}

} // namespace ui
