#include "app/program_config.h"

namespace vellox {

ProgramConfig builtInProgramConfig() {
  return {.searchHost = VELLOX_SEARCH_HOST, .updateNoticeUrl = VELLOX_UPDATE_NOTICE_URL};
}

}  // namespace vellox
