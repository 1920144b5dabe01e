// vellox-cli: the collection engine from a terminal.
//
//   vellox-cli search NAME [--province P] [--city C] [--offset N]
//
// fetches one result page for NAME from the built-in directory host and prints the total hit
// count. Texts on the command line are UTF-8.
#include <iostream>
#include <string>

#include "app/program_config.h"
#include "app/program_state.h"
#include "collect/search_request.h"
#include "platform/http_client.h"
#include "text/codepage.h"

namespace {

int usage() {
  std::cerr << "usage: vellox-cli search NAME [--province P] [--city C] [--offset N]\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace vellox;
  if (argc < 3 || std::string(argv[1]) != "search") return usage();
  const Text name = utf8ToGbk(argv[2]);
  Text province, city;
  int32_t offset = 0;
  for (int i = 3; i + 1 < argc; i += 2) {
    const std::string flag = argv[i];
    if (flag == "--province") {
      province = utf8ToGbk(argv[i + 1]);
    } else if (flag == "--city") {
      city = utf8ToGbk(argv[i + 1]);
    } else if (flag == "--offset") {
      offset = textToInt(argv[i + 1]);
    } else {
      return usage();
    }
  }
  if ((argc - 3) % 2 != 0) return usage();

  const ProgramConfig config = builtInProgramConfig();
  ProgramState state;
  state.g_keywordParam = encodeKeyword(name);
  state.g_regionParam = encodeRegion(province, city);
  CurlHttpClient http;
  const Text page = fetchSearchPage(http, config, state, offset);
  std::cout << "search host: " << config.searchHost << "\n"
            << "total hits: " << state.g_totalHits << "\n"
            << "page at offset " << offset << ": " << page.size() << " bytes\n";
  return page.empty() ? 1 : 0;
}
