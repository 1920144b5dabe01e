#include "app/status_display.h"

#include <gtest/gtest.h>

#include <limits>

#include "app/memory_window.h"

namespace vellox {
namespace {

TEST(StatusDisplay, StatusBarPanels) {
  struct Case {
    const char* name;
    int32_t listings, target, total;
    Text page, percent;
  };
  const Case cases[] = {
      {"50 listings, one page", 50, 1, 50, "1", "125%"},
      {"20 listings, one page: 0.5 rounds up", 20, 1, 20, "1", "50%"},
      {"60 listings: 1.5 rounds up", 60, 2, 400, "2", "75%"},
      {"nothing yet", 0, 3, 0, "0", "0%"},
      {"page target 0 has no percentage", 12, 0, 12, "0", "0%"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryWindow w;
    ProgramState s;
    s.g_listingCount = c.listings;
    s.g_pageTarget = c.target;
    s.g_totalHits = c.total;
    updateStatusBar(w, s);
    EXPECT_EQ(w.statusPanel(Control::状态条1, 1), intToText(c.total));
    EXPECT_EQ(w.statusPanel(Control::状态条1, 3), intToText(c.listings));
    EXPECT_EQ(w.statusPanel(Control::状态条1, 5), intToText(c.target));
    EXPECT_EQ(w.statusPanel(Control::状态条1, 7), c.page);
    EXPECT_EQ(w.statusPanel(Control::状态条1, 8), c.percent);
    EXPECT_EQ(w.statusPanel(Control::状态条1, 6), "NowPage:") << "fixed panels stay";
  }
}

TEST(StatusDisplay, ProgressLine) {
  struct Case {
    const char* name;
    float ratio;
    int clientWidth, width;
  };
  const Case cases[] = {
      {"half of 555 truncates", 0.5f, 555, 277},
      {"0.999 rounds to the full width", 0.999f, 555, 555},
      {"0.994 rounds down", 0.994f, 1000, 990},
      {"complete", 1.0f, 555, 555},
      {"above 100% is wider than the window", 1.25f, 555, 693},
      {"first listing of a fresh start: no target yet", std::numeric_limits<float>::infinity(), 555, 0},
      {"zero by zero", std::numeric_limits<float>::quiet_NaN(), 555, 0},
      {"zero", 0.0f, 555, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryWindow w;
    w.setClientWidth(c.clientWidth);
    w.setLeft(Control::标签_进度, 3);
    updateProgressBar(w, c.ratio);
    EXPECT_EQ(w.width(Control::标签_进度), c.width);
    EXPECT_EQ(w.left(Control::标签_进度2), 3 + c.width) << "the marker stands at the right end";
  }
}

}  // namespace
}  // namespace vellox
