// vellox-directory: the substitute directory service as a program.
//
//   vellox-directory [--port 8168] [--total N] [--latency-ms N] [--charset utf-8|gbk]
//                    [--notice-version V]
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

#include "directory_service.h"
#include "text/text.h"

namespace {

int usage(const char* message) {
  std::cerr << "vellox-directory: " << message << "\n"
            << "usage: vellox-directory [--port 8168] [--total N] [--latency-ms N]"
               " [--charset utf-8|gbk] [--notice-version V]\n";
  return 2;
}

bool readNumber(const char* text, int& out) {
  const std::string s = text;
  if (s.empty() || s.find_first_not_of("0123456789") != std::string::npos || s.size() > 9) {
    return false;
  }
  out = std::stoi(s);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace vellox::directory;
  ServiceOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string flag = argv[i];
    if (flag == "--help" || flag == "-h") return usage("substitute directory service on loopback"), 0;
    if (i + 1 >= argc) return usage(("missing value after " + flag).c_str());
    const char* value = argv[++i];
    int number = 0;
    if (flag == "--port" && readNumber(value, number) && number <= 65535) {
      options.port = number;
    } else if (flag == "--total" && readNumber(value, number)) {
      options.generator.total = number;
    } else if (flag == "--latency-ms" && readNumber(value, number)) {
      options.latencyMs = number;
    } else if (flag == "--charset" && (!std::strcmp(value, "utf-8") || !std::strcmp(value, "gbk"))) {
      options.charset = !std::strcmp(value, "gbk") ? Charset::kGbk : Charset::kUtf8;
    } else if (flag == "--notice-version") {
      options.generator.noticeVersion = value;
    } else {
      return usage(("bad option " + flag + " " + value).c_str());
    }
  }
  options.log = [](const std::string& line) { std::cerr << "vellox-directory: " << line << std::endl; };

  DirectoryService service(options);
  if (!service.run()) {
    std::cerr << "vellox-directory: cannot listen on 127.0.0.1:" << options.port << std::endl;
    return 1;
  }
  return 0;
}
