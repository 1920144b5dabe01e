// Settings that are built into the program: where the directory service and the update notice
// are. Release builds set them at configure time (VELLOX_SEARCH_HOST, VELLOX_UPDATE_NOTICE_URL);
// tests and the command-line front end pass their own. Nothing is read from the environment.
#pragma once

#include <string>

namespace vellox {

struct ProgramConfig {
  // host[:port] of the directory search endpoint, without scheme or path.
  std::string searchHost;
  // Full address of the update-notice page.
  std::string updateNoticeUrl;
};

// The program's version: 1.32. Compared as a 32-bit float with announced versions; shown as
// "1.32" in the caption and the update question.
inline constexpr double kProgramVersion = 1.32;

// kProgramVersion as text ("%.13g": "1.32").
std::string programVersionText();

// The configuration this build was made with.
ProgramConfig builtInProgramConfig();

}  // namespace vellox
