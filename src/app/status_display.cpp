#include "app/status_display.h"

#include <algorithm>
#include <cmath>

namespace vellox {
namespace {

// Widths beyond this are cut off by the window edge anyway, and the window system refuses larger
// widget sizes.
constexpr double kMaxWidth = 16777215.0;

Text roundedText(double value) {
  return std::isfinite(value) ? intToText(static_cast<int64_t>(roundHalfAway(value))) : Text("0");
}

}  // namespace

void updateStatusBar(Window& window, const RunCounters& counters) {
  const int32_t listings = counters.g_listingCount;
  const int32_t target = counters.g_pageTarget;
  window.setStatusPanel(Control::状态条1, 1, intToText(counters.g_totalHits));
  window.setStatusPanel(Control::状态条1, 3, intToText(listings));
  window.setStatusPanel(Control::状态条1, 5, intToText(target));
  window.setStatusPanel(Control::状态条1, 7, roundedText(listings / 40.0));
  window.setStatusPanel(Control::状态条1, 8,
                        roundedText(listings / (target * 40.0) * 100.0) + "%");
}

void updateProgressBar(Window& window, float ratio) {
  const double x = roundHalfAway(ratio, 2);
  const double width = x * window.clientWidth();
  const int newWidth = std::isfinite(width) ? static_cast<int>(std::clamp(width, 0.0, kMaxWidth)) : 0;
  window.setWidth(Control::标签_进度, newWidth);
  window.setLeft(Control::标签_进度2,
                 window.left(Control::标签_进度) + window.width(Control::标签_进度));
}

}  // namespace vellox
