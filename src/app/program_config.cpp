#include "app/program_config.h"

#include <cstdio>

namespace vellox {

std::string programVersionText() {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.13g", kProgramVersion);
  return buffer;
}

ProgramConfig builtInProgramConfig() {
  return {.searchHost = VELLOX_SEARCH_HOST, .updateNoticeUrl = VELLOX_UPDATE_NOTICE_URL};
}

}  // namespace vellox
