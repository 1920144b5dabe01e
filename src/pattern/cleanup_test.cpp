#include "pattern/cleanup.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "text/codepage.h"

namespace vellox {
namespace {

Text g(const std::string& utf8) { return utf8ToGbk(utf8); }

TEST(Cleanup, QuoteMarkers) {
  EXPECT_EQ(expandQuoteMarkers("abc"), "abc");
  EXPECT_EQ(expandQuoteMarkers("''''"), "\"\"");
  EXPECT_EQ(expandQuoteMarkers("'''"), "\"'");
  EXPECT_EQ(expandQuoteMarkers(PatternCleanup::storedTrimPattern()),
            PatternCleanup::storedTrimPattern())
      << "the trim pattern holds no quote";
  EXPECT_EQ(expandQuoteMarkers(PatternCleanup::storedCompactAfterPattern()),
            g("(\\]|}|\")[\\s　]+"));
}

// Each example holds for the fast operation and for the pattern it stands for.
struct Example {
  const char* name;
  std::string input, expected;
};

TEST(Cleanup, StripQuotesExamples) {
  const Example examples[] = {
      {"quoted value", "\"abc\"", "abc"},
      {"blanks around", "  abc  ", "abc"},
      {"tabs on two lines", "\t\ta\r\n\tb", "a\r\nb"},
      {"inner quotes without blanks survive", "a\"b\"c", "a\"b\"c"},
      {"a quote touched by a blank goes with it", "say \"hi\" now", "sayhinow"},
      {"line breaks touching a quote go", "\"a\"\r\n\"b\"", "ab"},
      {"full-width blanks", "　\"名称\"　", "名称"},
      {"middle blanks stay", "a b", "a b"},
      {"only quotes", "\"\"", ""},
      {"empty", "", ""},
  };
  PatternCleanup patterns;
  for (const Example& e : examples) {
    SCOPED_TRACE(e.name);
    EXPECT_EQ(stripQuotes(g(e.input)), g(e.expected));
    EXPECT_EQ(patterns.StripQuotes(g(e.input)), g(e.expected));
  }
}

TEST(Cleanup, TrimExamples) {
  const Example examples[] = {
      {"both ends of each line", "  a b  \r\n\tc\t", "a b\r\nc"},
      {"line breaks stay", "\r\n \n", "\r\n\n"},
      {"full-width", "　x　", "x"},
      {"quotes stay", " \"x\" ", "\"x\""},
      {"lone CR ends a line", "a \rb", "a\rb"},
  };
  PatternCleanup patterns;
  for (const Example& e : examples) {
    SCOPED_TRACE(e.name);
    EXPECT_EQ(trimBlanks(g(e.input)), g(e.expected));
    EXPECT_EQ(patterns.Trim(g(e.input)), g(e.expected));
  }
}

TEST(Cleanup, CompactExamples) {
  const Example examples[] = {
      {"pretty-printed object: blanks before names and brackets, after the bracket",
       "{\r\n  \"a\": 1,\r\n  \"b\": [1, 2]\r\n}", "{\"a\": 1,\"b\":[1, 2]}"},
      {"blank between colon and number stays", "{\"x\": 1}", "{\"x\": 1}"},
      {"blank before a number stays", "[ 1 ]", "[ 1 ]"},
      {"blanks inside strings go too", "\"a \" \"", "\"a\"\""},
      {"full-width blanks", "{　\"k\"　}", "{\"k\"}"},
      {"nothing to do", "abc", "abc"},
  };
  PatternCleanup patterns;
  for (const Example& e : examples) {
    SCOPED_TRACE(e.name);
    EXPECT_EQ(compactBlanks(g(e.input)), g(e.expected));
    EXPECT_EQ(patterns.Compact(g(e.input)), g(e.expected));
  }
}

// Random texts made of the pieces the patterns care about, and traps around them: CR, LF and
// CR LF; full-width spaces and a 省、 pair whose bytes hold A1 A1 across two characters;
// characters whose second byte is a backslash, a bracket or a brace; quotes, brackets and braces.
std::vector<Text> generatedTexts(int count, uint32_t seed) {
  const std::vector<Text> pieces = {
      " ", "  ", "\t", "\r", "\n", "\r\n", "\v", "\f", "\"", "\"\"", "[", "]", "{", "}", ":", ",",
      "a", "Z", "1", g("　"), g("中"), g("省、"), "\x81\x5C", "\x81\x5B", "\x81\x5D", "\x81\x7D",
      g("名称"), "'"};
  std::mt19937 random(seed);
  std::vector<Text> texts;
  for (int i = 0; i < count; ++i) {
    Text t;
    const int length = static_cast<int>(random() % 24);
    for (int k = 0; k < length; ++k) t += pieces[random() % pieces.size()];
    texts.push_back(t);
  }
  return texts;
}

TEST(Cleanup, FastOperationsEqualThePatterns) {
  PatternCleanup patterns;
  for (const Text& t : generatedTexts(20000, 20261211)) {
    ASSERT_EQ(stripQuotes(t), patterns.StripQuotes(t)) << "input: [" << t << "]";
    ASSERT_EQ(trimBlanks(t), patterns.Trim(t)) << "input: [" << t << "]";
    ASSERT_EQ(compactBlanks(t), patterns.Compact(t)) << "input: [" << t << "]";
  }
}

TEST(Cleanup, LongRunsStayLinear) {
  // A long run of blanks that no quote follows; the fast scans must not restart the run at
  // every position (the pattern engine does, which is why it is not used).
  const Text run(200000, ' ');
  EXPECT_EQ(stripQuotes("x" + run + "x"), "x" + run + "x");
  EXPECT_EQ(trimBlanks("x" + run + "x"), "x" + run + "x");
  EXPECT_EQ(compactBlanks("x" + run + "x"), "x" + run + "x");
  EXPECT_EQ(compactBlanks(run + "["), "[");
}

}  // namespace
}  // namespace vellox
