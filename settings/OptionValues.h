// The values that the Options window reads from its boxes and shows in them:
// the interval in its unit, and the size of the fixed region. Each reader
// gives the value or throws ui::Error with the message the user is to read,
// so that a Save can check every box before it changes anything.
#pragma once

#include "settings/Options.h"

#include <optional>
#include <string>

namespace settings {

// The largest width or height of the fixed region that Save takes: far above
// any screen, yet small enough that the picture of such a region still fits
// in memory.
inline constexpr int kMaxFixedRegionSide = 16384;

// The integer a box holds: decimal with an optional sign (or hexadecimal
// after "$" or "0x"), blanks around it allowed. Anything else throws
// "'<text>' is not a valid integer value".
int IntegerOfText(const std::wstring& text);

// The interval in milliseconds for a number and a unit as the user typed or
// chose them. Throws when the unit is none of the three, the number is not an
// integer or is negative, or the interval is longer than a signed 32-bit
// count of milliseconds can hold (about 24 days).
int IntervalMilliseconds(const std::wstring& number, const TimeUnit& unit);

// The number that shows an interval in a unit, when the interval is a whole
// number of that unit; no value for another unit or a remainder.
std::optional<std::wstring> IntervalNumberText(int milliseconds, const TimeUnit& unit);

// A width or height of the fixed region; name ("width", "height") goes into
// the message. Throws unless the text is an integer from 0 to kMaxFixedRegionSide.
int FixedRegionSide(const std::wstring& text, const std::wstring& name);

} // namespace settings
