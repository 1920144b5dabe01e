// The fast clean-up operations against the patterns on realistic search answers, compact and
// pretty-printed, and on each of their values.
#include <gtest/gtest.h>

#include <string>

#include "listing_generator.h"
#include "pattern/cleanup.h"
#include "text/codepage.h"

namespace vellox {
namespace {

// The answer re-indented one member per line, as some services send it.
Text prettyPrinted(const Text& compact) {
  Text out;
  bool inString = false;
  for (std::size_t i = 0; i < compact.size(); ++i) {
    const char c = compact[i];
    out.push_back(c);
    if (c == '"' && (i == 0 || compact[i - 1] != '\\')) inString = !inString;
    if (!inString && (c == '{' || c == '[' || c == ',')) out += "\r\n    ";
    if (!inString && c == ':') out += " ";
  }
  return out;
}

TEST(CleanupOnPages, FastOperationsEqualThePatterns) {
  const PatternCleanup patterns;
  directory::SearchQuery query;
  for (const char* keyword : {"五金", "办公用品", ""}) {
    query.keyword = keyword;
    const Text page = utf8ToGbk(directory::searchAnswer(query, {}));
    SCOPED_TRACE(keyword);
    ASSERT_EQ(compactBlanks(page), patterns.Compact(page));
    const Text pretty = prettyPrinted(page);
    ASSERT_EQ(compactBlanks(pretty), patterns.Compact(pretty));
    for (const Text& line : splitText(pretty, "\r\n")) {
      ASSERT_EQ(stripQuotes(line), patterns.StripQuotes(line)) << line;
      ASSERT_EQ(trimBlanks(line), patterns.Trim(line)) << line;
    }
  }
}

}  // namespace
}  // namespace vellox
