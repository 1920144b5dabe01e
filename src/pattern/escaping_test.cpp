#include <gtest/gtest.h>

#include <string>

#include "pattern/regex.h"
#include "text/codepage.h"

namespace vellox {
namespace {

TEST(Escaping, EachListInItsOrder) {
  struct Case {
    const char* name;
    Text (*escape)(const Text&);
    Text input, expected;
  };
  const Case cases[] = {
      {"empty", RegexObject::EscapeLiteral, "", ""},
      {"nothing to escape", RegexObject::EscapeLiteral, "abc", "abc"},
      {"backslash doubled, dot escaped", RegexObject::EscapeLiteral, "a\\b.c", "a\\\\b\\.c"},
      {"literal: everything", RegexObject::EscapeLiteral, "^$+{}[]=()?*|\"",
       "\\^\\$\\+\\{\\}\\[\\]\\=\\(\\)\\?\\*\\|\\\""},
      {"literal leaves the minus", RegexObject::EscapeLiteral, "a-b", "a-b"},
      {"alternation keeps the bar", RegexObject::EscapeKeepAlternation, "a|(b)", "a|\\(b\\)"},
      {"groups keep parentheses and bar", RegexObject::EscapeKeepGroups, "a|(b)*", "a|(b)\\*"},
      {"wildcards", RegexObject::WildcardToPattern, "a*b?c.d", "a.*b.?c\\.d"},
      {"wildcard escapes the minus, keeps the bar", RegexObject::WildcardToPattern, "a-b|c",
       "a\\-b|c"},
      {"wildcard backslash first", RegexObject::WildcardToPattern, "\\*", "\\\\.*"},
      {"double-byte character with a backslash byte", RegexObject::EscapeLiteral,
       "\x81\x5C" "\\", "\x81\x5C" "\\\\"},
      {"double-byte characters with bracket and bar bytes", RegexObject::EscapeLiteral,
       "\x81\x5B\x81\x7C\x81\x7B", "\x81\x5B\x81\x7C\x81\x7B"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.escape(c.input), c.expected);
  }
}

TEST(Escaping, EscapedTextMatchesItselfLiterally) {
  const Text text = utf8ToGbk("价格(元)：1.5+2*3 [含税] a|b ^$ {x} \"q\" 乗");
  RegexObject r;
  r.Create(RegexObject::EscapeLiteral(text));
  ASSERT_EQ(r.Execute("x" + text + "x"), 1);
  EXPECT_EQ(r.MatchText(1), text);

  r.Create(RegexObject::WildcardToPattern(utf8ToGbk("五金*公司")));
  ASSERT_EQ(r.Execute(utf8ToGbk("昆明五金机电公司")), 1);
  EXPECT_EQ(r.MatchText(1), utf8ToGbk("五金机电公司"));
}

}  // namespace
}  // namespace vellox
