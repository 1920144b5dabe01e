#include "platform/launcher.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "text/codepage.h"

namespace vellox {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string readWhenComplete(const fs::path& file) {
  // The started program runs on its own; wait (bounded) for the marker it writes last.
  for (int i = 0; i < 500; ++i) {
    std::ifstream in(file);
    std::stringstream s;
    s << in.rdbuf();
    if (s.str().ends_with("END")) return s.str();
    std::this_thread::sleep_for(10ms);
  }
  return "";
}

TEST(Launcher, ArgumentsArriveOneByOneWithoutAShell) {
  const fs::path out = fs::temp_directory_path() / ("vellox_launch_" + std::to_string(::getpid()));
  fs::remove(out);
  SystemLauncher launcher;
  // The helper shell prints each argument it received between bars; the launcher itself never
  // interprets blanks, quotes or "$".
  const Text script = "printf '%s|' \"$@\" > \"$OUT_FILE\"; printf END >> \"$OUT_FILE\"";
  ::setenv("OUT_FILE", out.c_str(), 1);
  ASSERT_TRUE(launcher.startProgram(
      "/bin/sh", {"-c", script, "sh", utf8ToGbk("C:\\a b\\结果 1.csv"), "$HOME", "'q'"}));
  EXPECT_EQ(readWhenComplete(out), "C:\\a b\\" + std::string("结果 1.csv") + "|$HOME|'q'|END");
  fs::remove(out);
}

TEST(Launcher, MissingProgramIsReported) {
  SystemLauncher launcher;
  EXPECT_FALSE(launcher.startProgram("/nonexistent/vellox-viewer", {"x.csv"}));
}

}  // namespace
}  // namespace vellox
