#include "app/program.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "app/memory_window.h"
#include "app/testing/fakes.h"

namespace vellox {
namespace {

using Fixture = fakes::MemoryProgram;

TEST(Program, StartupSetsTheCaptionWithTheVersion) {
  Fixture f;
  EXPECT_EQ(f.window.caption(), "Vellox");
  f.window.userOpens();
  f.program.waitForWorkers();
  EXPECT_EQ(f.window.caption(), "Vellox_1.32");
}

TEST(Program, StateStartsEmpty) {
  Fixture f;
  ProgramState& s = f.program.state();
  EXPECT_EQ(s.g_collectState, kCollectIdle);
  EXPECT_TRUE(s.g_regions.empty());
  EXPECT_TRUE(s.g_csvText.empty());
  EXPECT_EQ(s.g_columnTitles.snapshot()->size(), 99u);
  EXPECT_TRUE(s.g_fieldPaths.empty());
  EXPECT_TRUE(s.g_titleColumns.empty());
  EXPECT_EQ(s.g_totalHits, 0);
  EXPECT_EQ(s.g_pagesRemaining, 0.0f);
}

TEST(Program, WorkersRunBesideTheCallerAndSurviveExceptions) {
  Fixture f;
  std::atomic<bool> release{false};
  std::atomic<bool> finished{false};
  f.program.startWorker([&] {
    while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    finished = true;
  });
  f.program.startWorker([] { throw std::runtime_error("lost"); });
  EXPECT_FALSE(finished) << "startWorker returns at once";
  EXPECT_GE(f.program.activeWorkers(), 1);
  release = true;
  f.program.waitForWorkers();
  EXPECT_TRUE(finished);
  EXPECT_EQ(f.program.activeWorkers(), 0);
}

TEST(Program, StatusTimerTickRefreshesTheStatusBar) {
  Fixture f;
  f.program.state().g_totalHits = 81;
  f.window.timerFires(Control::时钟_状态条);
  EXPECT_EQ(f.window.statusPanel(Control::状态条1, 1), "81");
}

}  // namespace
}  // namespace vellox
