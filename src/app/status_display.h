// The status bar and the progress line that follow a collection run.
#pragma once

#include "app/program_state.h"
#include "app/window.h"

namespace vellox {

// Writes the value panels of 状态条1: 1 total hits, 3 listings, 5 page target, 7 the current page
// (listings / 40, rounded half away from zero) and 8 the percentage (listings / (target * 40) *
// 100, rounded, followed by "%"; "0%" while the page target is 0 and no percentage exists).
void updateStatusBar(Window& window, const RunCounters& counters);

// Sizes the progress line for `ratio` (1.0 = complete): 标签_进度 becomes ratio (rounded to two
// decimals) times the client width wide, truncated, and 标签_进度2 moves to its right end.
// A ratio without a finite value (page target 0) gives width 0.
void updateProgressBar(Window& window, float ratio);

}  // namespace vellox
