// The program-wide state: the globals that the collection engine, the settings and the export
// read and write. One ProgramState lives for the whole process (Program owns it); the parts of
// the program receive it by reference.
//
// Threads: the window's thread and the workers share this state. g_collectState and the run
// counters are atomics because the window's thread reads them while a worker writes them;
// g_columnTitles is replaced as a whole snapshot so that a worker reading it never sees a
// released array. The other members are handed over by the run buttons: a run writes them only
// while the buttons that read them are disabled.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "text/text.h"

namespace vellox {

// Values of g_collectState.
enum CollectState : int32_t {
  kCollectIdle = 0,
  kCollectStartRequested = 1,
  kCollectPauseRequested = 2,
  kCollectContinueRequested = 3,
};

// One province of the region table with its cities, joined by "\".
struct RegionEntry {
  Text province;
  Text cities;
};

// The column titles as an immutable snapshot. Replacing publishes a new array; a reader holding
// an older snapshot keeps it alive until it lets go.
class ColumnTitles {
 public:
  static constexpr std::size_t kInitialSlots = 99;

  ColumnTitles() : titles_(std::make_shared<const std::vector<Text>>(kInitialSlots)) {}

  std::shared_ptr<const std::vector<Text>> snapshot() const {
    const std::lock_guard lock(mutex_);
    return titles_;
  }

  void replace(std::vector<Text> titles) {
    auto next = std::make_shared<const std::vector<Text>>(std::move(titles));
    const std::lock_guard lock(mutex_);
    titles_.swap(next);
  }

 private:
  mutable std::mutex mutex_;
  std::shared_ptr<const std::vector<Text>> titles_;
};

// The seven run counters that a fresh start sets to 0 together.
struct RunCounters {
  std::atomic<int32_t> g_listingCount{0};   // listings extracted since the last fresh start
  std::atomic<int32_t> g_totalHits{0};      // total reported by the page fetched last
  std::atomic<float> g_pagesRemaining{0};   // further pages the paging loop is to fetch
  std::atomic<int32_t> g_pageOffset{0};     // listing offset of the page requested last
  std::atomic<int32_t> g_pageTarget{0};     // number of pages the run aims at
  std::atomic<int32_t> g_pagesDone{0};      // further pages fetched by the current loop
  std::atomic<int32_t> g_pageCount{0};      // g_totalHits / 40, truncated

  void resetRunCounters() {
    g_listingCount = 0;
    g_totalHits = 0;
    g_pagesRemaining = 0;
    g_pageOffset = 0;
    g_pageTarget = 0;
    g_pagesDone = 0;
    g_pageCount = 0;
  }
};

// Arrays here are 0-based vectors; the position k (1-based) of the program's descriptions is
// element k - 1.
struct ProgramState : RunCounters {
  std::atomic<int32_t> g_collectState{kCollectIdle};
  std::vector<RegionEntry> g_regions;
  Text g_csvText;
  ColumnTitles g_columnTitles;
  Text g_keywordParam;   // the search name as sent (percent-encoded GBK)
  Text g_regionParam;    // the region as sent (percent-encoded UTF-8)
  std::vector<Text> g_fieldPaths;
  std::vector<int32_t> g_titleColumns;
  int32_t g_compactMode = 0;
};

}  // namespace vellox
