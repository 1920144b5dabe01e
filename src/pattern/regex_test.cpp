#include "pattern/regex.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "text/codepage.h"

namespace vellox {
namespace {

Text g(const std::string& utf8) { return utf8ToGbk(utf8); }

TEST(Regex, DefaultFlagsAreCaselessMultilineGlobal) {
  RegexObject r;
  r.Create("abc");
  EXPECT_EQ(r.Execute("xABCx abc"), 2) << "case ignored, every match";
  r.Create("^x");
  EXPECT_EQ(r.Execute("x1\nx2\r\nx3\rx4"), 4) << "a caret anchors at every line start, after CR too";
  r.Create("\\d$");
  EXPECT_EQ(r.Execute("a1\r\nb2\rc3\nd4"), 4) << "a dollar anchors before CR and LF";
  r.Create("abc", false, false, false);
  EXPECT_EQ(r.Execute("ABC abc abc"), 1) << "flags off: case kept, first match only";
  r.Create("^b", true, false, true);
  EXPECT_EQ(r.Execute("a\nb"), 0) << "without multi-line a caret anchors at the start only";
}

TEST(Regex, MatchesAndGroups) {
  RegexObject r;
  r.Create("\\d+");
  ASSERT_EQ(r.Execute("tel 0871-65123456"), 2);
  EXPECT_EQ(r.MatchCount(), 2);
  EXPECT_EQ(r.MatchText(1), "0871");
  EXPECT_EQ(r.MatchText(2), "65123456");
  EXPECT_EQ(r.MatchText(3), "");
  EXPECT_EQ(r.MatchText(0), "");
  EXPECT_EQ(r.MatchText(-1), "");
  EXPECT_EQ(r.SubMatchCount(), 0) << "no groups";

  r.Create("(a)(b)?");
  ASSERT_EQ(r.Execute("ac"), 1);
  EXPECT_EQ(r.SubMatchCount(), 2);
  EXPECT_EQ(r.SubMatchText(1, 1), "a");
  EXPECT_EQ(r.SubMatchText(1, 2), "") << "an optional group that took no part";
  EXPECT_EQ(r.SubMatchText(1, 0), "") << "groups count from 1";
  EXPECT_EQ(r.SubMatchText(1, 3), "");
  EXPECT_EQ(r.Execute("zzz"), 0);
  EXPECT_EQ(r.SubMatchCount(), 0) << "no match, no groups";
}

TEST(Regex, IndicesCountCharacters) {
  RegexObject r;
  r.Create("a.c");
  ASSERT_EQ(r.Execute(g("北京abc中a中c")), 2);
  int32_t index = -1;
  EXPECT_EQ(r.MatchTextAt(1, &index), "abc");
  EXPECT_EQ(index, 2) << "two Chinese characters before it, not four bytes";
  EXPECT_EQ(r.MatchTextAt(2, &index), g("a中c")) << "a dot matches one Chinese character";
  EXPECT_EQ(index, 6);
  EXPECT_EQ(r.SubMatchTextAt(2, 1, &index), "");
  EXPECT_EQ(index, 0) << "out of range gives 0";
  EXPECT_EQ(r.MatchTextAt(9, &index), "");
  EXPECT_EQ(index, 0);

  r.Create("(\\d)");
  ASSERT_EQ(r.Execute(g("电话5")), 1);
  EXPECT_EQ(r.SubMatchTextAt(1, 1, &index), "5");
  EXPECT_EQ(index, 2);
}

TEST(Regex, ClassesFollowTheScriptingEngine) {
  RegexObject r;
  r.Create("\\s");
  EXPECT_EQ(r.Execute(g("a　b")), 0) << "\\s does not match the full-width space";
  EXPECT_EQ(r.Execute("a \t\r\n\v\fb"), 6);
  r.Create("\\d");
  EXPECT_EQ(r.Execute(g("１２")), 0) << "\\d is ASCII only";
  r.Create(g("[　]+"));
  EXPECT_EQ(r.Execute(g("a　　b")), 1) << "a full-width space written into a class";
  r.Create("\\u4E2D");
  EXPECT_EQ(r.Execute(g("中国")), 1) << "\\u escapes as the scripting engines read them";
  r.Create("[^a]+");
  EXPECT_EQ(r.Execute("aXYa"), 1);
  r.Create("\\.|\\(");
  EXPECT_EQ(r.Execute("a.b(c"), 2);
}

TEST(Regex, Replace) {
  struct Case {
    const char* name;
    std::string pattern, subject, replacement, expected;
  };
  const Case cases[] = {
      {"deletes every match", "\\d", "a1b22", "", "ab"},
      {"first group", "(\\d+)-(\\d+)", "0871-651 x 010-88", "$1", "0871 x 010"},
      {"groups and text", "(\\w)(\\w)(\\w)", "abc", "$1.$2$3", "a.bc"},
      {"whole match and dollar", "b", "abc", "[$&$$]", "a[b$]c"},
      {"before and after", "b", "abc", "<$`|$'>", "a<a|c>c"},
      {"unset group gives nothing", "(a)|(b)", "b", "[$1]", "[]"},
      {"no such group stays literal", "(a)", "a", "$2$0$", "$2$0$"},
      {"two digits when the group exists", "(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)(k)", "abcdefghijk",
       "$11$10", "kj"},
      {"else one digit and a literal", "(a)", "a", "$12", "a2"},
      {"empty matches step one character", "x*", "abc", "-", "-a-b-c-"},
      {"empty match between Chinese characters", "", "中文", "|", "|中|文|"},
      {"no match leaves the subject", "q", "abc", "z", "abc"},
      {"Chinese replaced", "北京", "北京市北京", "京", "京市京"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RegexObject r;
    r.Create(g(c.pattern));
    EXPECT_EQ(r.Replace(g(c.subject), g(c.replacement)), g(c.expected));
  }
}

TEST(Regex, BrokenPatternsAndEmptyObjects) {
  RegexObject none;
  EXPECT_EQ(none.Execute("abc"), 0);
  EXPECT_EQ(none.Replace("abc", "x"), "") << "no pattern: nothing to replace with";
  EXPECT_EQ(none.GetPattern(), "");
  EXPECT_EQ(none.MatchCount(), 0);

  RegexObject r;
  EXPECT_TRUE(r.Create("(abc")) << "compile errors show at use";
  EXPECT_EQ(r.GetPattern(), "(abc");
  EXPECT_EQ(r.Execute("abc"), 0);
  EXPECT_EQ(r.Replace("abc", "x"), "") << "not the subject";
  EXPECT_EQ(r.MatchText(1), "");

  // Catastrophic backtracking gives up and finds nothing instead of hanging.
  r.Create("(a+)+$");
  const Text subject = std::string(40, 'a') + "!";
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(r.Execute(subject), 0);
  EXPECT_EQ(r.Replace(subject, "x"), "");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

TEST(Regex, CreateAndCopies) {
  RegexObject r;
  r.Create("\\d");
  ASSERT_EQ(r.Execute("1 2 3"), 3);
  r.Create("x");
  EXPECT_EQ(r.MatchCount(), 3) << "the object keeps the previous matches until its next Execute";
  EXPECT_EQ(r.MatchText(3), "3");

  RegexMatcher m;
  m.Create("\\d");
  ASSERT_EQ(m.Execute("1 2 3"), 3);
  EXPECT_EQ(m.MatchCount(), 3);
  m.Create("x");
  EXPECT_EQ(m.MatchCount(), 0) << "the matcher starts afresh";
  EXPECT_EQ(m.MatchText(1), "");
  EXPECT_EQ(m.SubMatchCount(), 0);

  RegexObject a;
  a.Create("(\\w+)@");
  ASSERT_EQ(a.Execute("ab@ cd@"), 2);
  RegexObject b = a;
  EXPECT_EQ(b.MatchCount(), 2) << "a copy reads the same matches";
  EXPECT_EQ(b.SubMatchText(2, 1), "cd");
  EXPECT_EQ(b.GetPattern(), "(\\w+)@");
  b.Execute("x@");
  EXPECT_EQ(b.MatchCount(), 1);
  EXPECT_EQ(a.MatchCount(), 2) << "until one of them searches again";
  b.Create("y");
  EXPECT_EQ(a.GetPattern(), "(\\w+)@") << "Create gives only that side a new pattern";

  RegexMatcher m2 = m;
  m.Create("\\d");
  m.Execute("12");
  EXPECT_EQ(m2.MatchCount(), 0);
  EXPECT_EQ(m2.GetPattern(), "x");
}

}  // namespace
}  // namespace vellox
