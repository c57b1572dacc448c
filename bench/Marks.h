// The marks' rows of the benchmark: how soon a highlighter stroke follows the
// mouse on the screen, and a zoom step with 50 marks on a 3840x2160 picture.
#pragma once

#include "bench/Measure.h"
#include "picture/PictureWindow.h"

namespace bench {

// Works on the picture window as the user would: shows a 3840x2160 picture,
// draws 50 marks on it, then measures. The window is left open.
void MeasureMarks(picture::PictureWindow& window, Table& table, int runs);

} // namespace bench
