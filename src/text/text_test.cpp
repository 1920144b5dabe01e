#include "text/text.h"

#include <gtest/gtest.h>

#include <random>

#include <cmath>
#include <limits>

#include "text/gbk_literal.h"

namespace vellox {
namespace {

using namespace literals;

// GBK characters whose trail byte looks like ASCII: 乗 = 81 5C ("\"), 乕 = 81 5B ("["),
// 亄 = 81 7B ("{"), 亅 = 81 7C ("|"), 丄 = 81 41 ("A"), 乤 = 81 61 ("a").
// 省 = CA A1 and 、 = A1 A2, so "省、" holds the bytes A1 A1 across a character boundary.
const Text kBackslashChar = "\x81\x5C";
const Text kBracketChar = "\x81\x5B";
const Text kUpperAChar = "\x81\x41";
const Text kLowerAChar = "\x81\x61";

TEST(Text, FindText) {
  struct Case {
    const char* name;
    Text text, what;
    int32_t start;
    bool ignoreCase;
    int32_t expected;
  };
  const Case cases[] = {
      {"plain", "abcabc", "bc", 1, true, 2},
      {"from a later start", "abcabc", "bc", 3, true, 5},
      {"start before 1 counts as 1", "abc", "a", -5, true, 1},
      {"start past the end", "abc", "a", 9, true, -1},
      {"absent", "abc", "x", 1, true, -1},
      {"empty needle", "abc", "", 1, true, -1},
      {"empty text", "", "a", 1, true, -1},
      {"letter case ignored", "searchResultFOALLNUM", "foallnum", 1, true, 13},
      {"letter case kept", "ABC", "abc", 1, false, -1},
      {"Chinese", "x" + "北京市"_gbk, "京"_gbk, 1, true, 4},
      {"no match across characters", "省、"_gbk, "\xA1\xA1", 1, true, -1},
      {"backslash trail byte is not a backslash", "a" + kBackslashChar + "\\", "\\", 1, true, 4},
      {"bracket trail byte is not a bracket", kBracketChar, "[", 1, true, -1},
      {"trail byte A is not the letter a", kUpperAChar + "a", "a", 1, true, 3},
      {"trail bytes are not case-folded", kUpperAChar, kLowerAChar, 1, true, -1},
      {"lead byte without trail is a byte of its own", "ab\x81", "\x81", 1, true, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(findText(c.text, c.what, c.start, c.ignoreCase), c.expected);
  }
}

// Character boundaries found by resuming after the nearest single byte agree with walking the
// text from its start, for byte soups full of lead bytes, trail bytes that look like ASCII and
// bytes that are neither, asked at rising positions with gaps.
TEST(Text, CharBoundariesAgreeWithAWalkFromTheStart) {
  const std::string bytes = std::string("\x81\xA1\xFE\xFF\x7F\x80\x40\x5C\x5B\x22 a", 12);
  std::mt19937 random(5);
  for (int round = 0; round < 2000; ++round) {
    std::string text;
    const int length = static_cast<int>(random() % 40);
    for (int k = 0; k < length; ++k) text += bytes[random() % bytes.size()];
    std::vector<bool> starts(text.size() + 1, false);
    for (std::size_t p = 0; p < text.size(); p += charLength(text, p)) starts[p] = true;
    starts[text.size()] = true;
    CharBoundaries boundaries(text);
    for (std::size_t p = 0; p < text.size(); p += 1 + random() % 3) {
      ASSERT_EQ(boundaries.startsAt(p), starts[p]) << "byte " << p << " of round " << round;
    }
  }
}

TEST(Text, ReplaceAll) {
  struct Case {
    const char* name;
    Text text, from, to;
    bool ignoreCase;
    Text expected;
  };
  const Case cases[] = {
      {"every occurrence", "a,b,,c", ",", ".", true, "a.b..c"},
      {"non-overlapping, left to right", "aaa", "aa", "b", true, "ba"},
      {"letter case ignored by default", "XxX", "x", "-", true, "---"},
      {"letter case kept when asked", "XxX", "x", "-", false, "X-X"},
      {"empty from leaves the text", "abc", "", "z", true, "abc"},
      {"to empty removes", "a所有地区b"_gbk, "所有地区"_gbk, "", true, "ab"},
      {"backslash inside a character stays", kBackslashChar + "\\", "\\", "/", true,
       kBackslashChar + "/"},
      {"grows the text", "{u}", "{u}", "%CE%E5", true, "%CE%E5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(replaceAll(c.text, c.from, c.to, c.ignoreCase), c.expected);
  }
}

TEST(Text, RemoveBlanks) {
  struct Case {
    const char* name;
    Text text, expected;
  };
  const Case cases[] = {
      {"half-width", " a b ", "ab"},
      {"full-width", "\xA1\xA1" "a\xA1\xA1", "a"},
      {"tabs and line breaks stay", "a\tb\r\nc", "a\tb\r\nc"},
      {"A1 A1 across two characters stays", "省、"_gbk, "省、"_gbk},
      {"only blanks", "  \xA1\xA1 ", ""},
      {"empty", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(removeBlanks(c.text), c.expected);
  }
}

TEST(Text, SplitText) {
  struct Case {
    const char* name;
    Text text, delimiter;
    std::vector<Text> expected;
  };
  const Case cases[] = {
      {"pieces", "a:b:c", ":", {"a", "b", "c"}},
      {"empty pieces between delimiters kept", "a::b", ":", {"a", "", "b"}},
      {"leading delimiter gives an empty first piece", ":a", ":", {"", "a"}},
      {"no final empty piece", "a\r\nb\r\n", "\r\n", {"a", "b"}},
      {"only the delimiter", "\r\n", "\r\n", {""}},
      {"empty text gives no pieces", "", ":", {}},
      {"no delimiter", "abc", ",", {"abc"}},
      {"lone LF is not CR LF", "a\nb\r\nc", "\r\n", {"a\nb", "c"}},
      {"backslash trail byte is not a delimiter", "x" + kBackslashChar + "\\y", "\\",
       {"x" + kBackslashChar, "y"}},
      {"letter case matters", "aXbxc", "x", {"aXb", "c"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(splitText(c.text, c.delimiter), c.expected);
  }
}

TEST(Text, TextToInt) {
  struct Case {
    const char* name;
    Text text;
    int32_t expected;
  };
  const Case cases[] = {
      {"digits", "400", 400},
      {"digits then letters", "12ab", 12},
      {"empty", "", 0},
      {"letters", "abc", 0},
      {"negative", "-3", -3},
      {"plus sign", "+7", 7},
      {"full-width digits", "１２３"_gbk, 123},
      {"mixed widths", "1２3"_gbk, 123},
      {"leading blank is not a digit", " 5", 0},
      {"stops at a point", "3.9", 3},
      {"saturates high", "99999999999999999999", std::numeric_limits<int32_t>::max()},
      {"saturates low", "-99999999999999999999", std::numeric_limits<int32_t>::min()},
      {"lone sign", "-", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(textToInt(c.text), c.expected);
  }
}

TEST(Text, TextToDecimal) {
  struct Case {
    const char* name;
    Text text;
    double expected;
  };
  const Case cases[] = {
      {"version", "1.32", 1.32},
      {"integer", "2", 2.0},
      {"trailing text", "1.40beta", 1.40},
      {"exponent", "1.5e2", 150.0},
      {"exponent letter without digits is not part of it", "1.5e", 1.5},
      {"exponent then letters", "2E-1x", 0.2},
      {"point without digits after", "3.", 3.0},
      {"leading point", ".5", 0.5},
      {"lone point", ".", 0.0},
      {"no number", "v1.4", 0.0},
      {"empty", "", 0.0},
      {"negative", "-0.5", -0.5},
      {"full-width digits and point", "１．４"_gbk, 1.4},
      {"second point ends it", "1.2.3", 1.2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_DOUBLE_EQ(textToDecimal(c.text), c.expected);
  }
  EXPECT_TRUE(std::isinf(textToDecimal("1e999")));
  EXPECT_EQ(textToDecimal("1e-999"), 0.0);
}

TEST(Text, NumbersToText) {
  EXPECT_EQ(intToText(0), "0");
  EXPECT_EQ(intToText(-40), "-40");
  EXPECT_EQ(intToText(std::numeric_limits<int64_t>::min()), "-9223372036854775808");
  EXPECT_EQ(realToText(1.5), "1.5");
  EXPECT_EQ(realToText(2.0), "2");
  EXPECT_EQ(realToText(0.1), "0.1");
  EXPECT_EQ(realToText(-0.0), "0");
  EXPECT_EQ(realToText(1.32), "1.32");
}

TEST(Text, RoundHalfAway) {
  struct Case {
    double value;
    int digits;
    double expected;
  };
  const Case cases[] = {
      {0.5, 0, 1.0},  {1.5, 0, 2.0},   {2.5, 0, 3.0},     {-2.5, 0, -3.0},
      {0.4, 0, 0.0},  {0.999, 2, 1.0}, {0.125, 2, 0.13},  {-0.125, 2, -0.13},
      {1.25, 1, 1.3}, {0.0, 2, 0.0},   {12345.0, 0, 12345.0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.value << " to " << c.digits << " digits");
    EXPECT_DOUBLE_EQ(roundHalfAway(c.value, c.digits), c.expected);
  }
}

}  // namespace
}  // namespace vellox
