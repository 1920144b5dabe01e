// Every non-ASCII string literal in the program's sources must be representable in GBK, or the
// program would show "?" where a Chinese caption or constant should be. The test reads the
// sources themselves, so a literal added anywhere later is checked without being listed here.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "text/codepage.h"

namespace vellox {
namespace {

namespace fs = std::filesystem;

// The string literals of a C++ source, escapes left as written (they are ASCII anyway).
std::vector<std::string> stringLiterals(const std::string& source) {
  std::vector<std::string> literals;
  for (std::size_t i = 0; i < source.size(); ++i) {
    const char c = source[i];
    if (c == '/' && i + 1 < source.size() && source[i + 1] == '/') {
      i = source.find('\n', i);
      if (i == std::string::npos) break;
    } else if (c == '/' && i + 1 < source.size() && source[i + 1] == '*') {
      i = source.find("*/", i + 2);
      if (i == std::string::npos) break;
      ++i;
    } else if (c == '\'') {
      // Skip a character literal ('"' must not open a string).
      for (++i; i < source.size() && source[i] != '\''; ++i) {
        if (source[i] == '\\') ++i;
      }
    } else if (c == '"') {
      std::string literal;
      for (++i; i < source.size() && source[i] != '"' && source[i] != '\n'; ++i) {
        if (source[i] == '\\' && i + 1 < source.size()) literal.push_back(source[i++]);
        literal.push_back(source[i]);
      }
      literals.push_back(literal);
    }
  }
  return literals;
}

bool hasNonAscii(const std::string& s) {
  for (const char c : s) {
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  }
  return false;
}

TEST(BuiltinTexts, EveryNonAsciiLiteralConvertsStrictlyToGbk) {
  int checked = 0;
  for (const char* folder : {"src", "tools"}) {
    for (const auto& entry : fs::recursive_directory_iterator(fs::path(VELLOX_SOURCE_DIR) / folder)) {
      const auto ext = entry.path().extension();
      if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
      // Test sources deliberately hold characters outside GBK to test the conversions.
      if (entry.path().stem().string().ends_with("_test")) continue;
      std::ifstream in(entry.path(), std::ios::binary);
      std::stringstream content;
      content << in.rdbuf();
      for (const std::string& literal : stringLiterals(content.str())) {
        if (!hasNonAscii(literal)) continue;
        ++checked;
        Text gbk;
        EXPECT_TRUE(utf8ToGbkStrict(literal, gbk)) << entry.path() << ": \"" << literal << '"';
      }
    }
  }
  EXPECT_GT(checked, 0) << "the program has Chinese constants; none were found";
}

TEST(BuiltinTexts, LiteralScannerFindsStringsOnly) {
  const std::string source =
      "// \"不\" in a comment\n"
      "/* \"不\" */ char q = '\"'; auto s = \"中\\\"国\"; auto t = \"x\";\n";
  EXPECT_EQ(stringLiterals(source), (std::vector<std::string>{"中\\\"国", "x"}));
}

}  // namespace
}  // namespace vellox
