#include "text/percent.h"

#include <gtest/gtest.h>

#include "text/gbk_literal.h"

namespace vellox {
namespace {

using namespace literals;

TEST(Percent, Encode) {
  struct Case {
    const char* name;
    Text bytes, expected;
  };
  const Case cases[] = {
      {"letters and digits stay", "abcXYZ019", "abcXYZ019"},
      {"unreserved marks are encoded too", " -._~", "%20%2D%2E%5F%7E"},
      {"GBK bytes", "五金"_gbk, "%CE%E5%BD%F0"},
      {"upper-case hex", "\xff\x0a", "%FF%0A"},
      {"NUL", Text("\0", 1), "%00"},
      {"empty", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(percentEncode(c.bytes), c.expected);
  }
}

TEST(Percent, DecodeUtf8) {
  struct Case {
    const char* name;
    Text text, expected;
  };
  const Case cases[] = {
      {"UTF-8 to GBK", "%E5%8C%97%E4%BA%AC", "北京"_gbk},
      {"lower-case hex", "%e5%8c%97", "北"_gbk},
      {"plus stays", "a+b", "a+b"},
      {"plain text", "http://x/y.zip", "http://x/y.zip"},
      {"percent at the end drops the rest", "ab%", "ab"},
      {"percent with one character drops the rest", "ab%4", "ab"},
      {"percent with non-hex stays", "%zz1", "%zz1"},
      {"half a hex pair stays", "%4z", "%4z"},
      {"invalid UTF-8 becomes a question mark", "a%FFb", "a?b"},
      {"empty", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(percentDecodeUtf8(c.text), c.expected);
  }
}

}  // namespace
}  // namespace vellox
