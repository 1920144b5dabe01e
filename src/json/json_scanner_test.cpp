#include "json/json_scanner.h"

#include <gtest/gtest.h>

#include <random>

#include "text/codepage.h"

namespace vellox {
namespace {

Text g(const std::string& utf8) { return utf8ToGbk(utf8); }

TEST(JsonScanner, SplitObject) {
  struct Case {
    const char* name;
    std::string text;
    std::vector<JsonMember> expected;
  };
  const Case cases[] = {
      {"string with a comma and a brace", R"({"k":"a,b}c"})", {{"k", R"("a,b}c")"}}},
      {"inner object", R"({"a":{"b":1},"c":2})", {{"a", R"({"b":1})"}, {"c", "2"}}},
      {"blanks around colons and commas", R"({ "a" : 1 , "b" : "x" })", {{"a", "1"}, {"b", R"("x")"}}},
      {"escaped quote does not end the string", R"({"k":"say \"hi\", ok"})", {{"k", R"("say \''hi\'', ok")"}}},
      {"quote after an escaped backslash ends it", R"({"k":"a\\","m":1})", {{"k", R"("a\\")"}, {"m", "1"}}},
      {"spaces inside the key's quotes", R"({" key ":1})", {{"key", "1"}}},
      {"wrapped in other text", R"(callback({"a":1,"b":[2]}); // done)", {{"a", "1"}, {"b", "[2]"}}},
      {"a following object's members join", R"({"a":1} {"b":2})", {{"a", "1"}, {"b", "2"}}},
      {"empty object", "{}", {}},
      {"unquoted key", "{a:1}", {{"a", "1"}}},
      {"duplicate keys are kept", R"({"a":1,"a":2})", {{"a", "1"}, {"a", "2"}}},
      {"value that never balances is dropped", R"({"a":1,"b":[1,2})", {{"a", "1"}}},
      {"Chinese value", R"({"名称":"五金"})", {{"名称", R"("五金")"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    JsonScanner scanner;
    std::vector<JsonMember> members;
    std::vector<JsonMember> expected;
    for (const JsonMember& m : c.expected) expected.push_back({g(m.key), g(m.value)});
    EXPECT_EQ(scanner.SplitObject(g(c.text), true, members), static_cast<int32_t>(expected.size()));
    EXPECT_EQ(members, expected);
  }
}

TEST(JsonScanner, SplitArray) {
  struct Case {
    const char* name;
    std::string text;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"nested array then number", "[[1,2],3]", {"[1,2]", "3"}},
      {"two objects", R"([{"a":1},{"b":2}])", {R"({"a":1})", R"({"b":2})"}},
      {"empty", "[]", {}},
      {"empty with a blank", "[ ]", {}},
      {"strings with commas", R"(["a,b", "c]"])", {R"("a,b")", R"("c]")"}},
      {"blanks trimmed", "[ 1 , 2 ]", {"1", "2"}},
      {"unterminated element ends the list", "[1,[2", {"1"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    JsonScanner scanner;
    std::vector<Text> elements;
    std::vector<Text> expected;
    for (const std::string& e : c.expected) expected.push_back(g(e));
    scanner.SplitArray(g(c.text), true, elements);
    EXPECT_EQ(elements, expected);
  }
}

TEST(JsonScanner, SplitTopAndMasking) {
  JsonScanner scanner;
  std::vector<JsonMember> members;
  std::vector<Text> elements;
  int32_t kind = 0;
  EXPECT_EQ(scanner.SplitTop("abc", &members, &elements, &kind), 1);
  EXPECT_EQ(kind, 2) << "no opener: read as a one-element array";
  EXPECT_EQ(elements, std::vector<Text>{"abc"});
  EXPECT_EQ(scanner.SplitTop(R"("{x" [1])", &members, &elements, &kind), 1);
  EXPECT_EQ(kind, 2) << "a brace inside a string is no opener";

  scanner.SetText(R"({"a b":"c,d"})");
  EXPECT_EQ(scanner.plainText(), R"({"a b":"c,d"})");
  EXPECT_EQ(scanner.maskedText(), R"({"   ":"   "})");
  EXPECT_TRUE(scanner.IsBalanced(1, 13)) << "strictly between the braces";
  EXPECT_FALSE(scanner.IsBalanced(1, 14)) << "the closing brace is inside the stretch";
  EXPECT_FALSE(scanner.IsBalanced(-1, 5));
  EXPECT_TRUE(scanner.IsOutsideString(1, 7));
  EXPECT_FALSE(scanner.IsOutsideString(1, 3));

  scanner.SetText(R"({"k":"x)");
  EXPECT_EQ(scanner.maskedText(), R"({" ":"x)") << "an unpaired last quote leaves the rest";
  int32_t next = 0;
  EXPECT_EQ(scanner.ReadKey(1, next), "k");
  EXPECT_EQ(scanner.ReadValue(next, next), g("超出"));
  EXPECT_EQ(next, -1);
}

TEST(JsonScanner, SmallOperations) {
  EXPECT_EQ(JsonScanner::KindOf("[1]"), 2);
  EXPECT_EQ(JsonScanner::KindOf("{}"), 1);
  EXPECT_EQ(JsonScanner::KindOf("\"[\""), 0);
  EXPECT_EQ(JsonScanner::KindOf(""), 0);
  EXPECT_EQ(JsonScanner::RestoreEscapedQuotes("a\\''b''"), "a\\\"b''");
  int32_t pos = 0;
  EXPECT_EQ(JsonScanner::FindFirstStructure("ab[{", pos), 2);
  EXPECT_EQ(pos, 3);
  EXPECT_EQ(JsonScanner::FindFirstStructure("a\"{", pos), 0);
  EXPECT_EQ(pos, 2);
  EXPECT_EQ(JsonScanner::FindFirstStructure("abc", pos), 0);
  EXPECT_EQ(pos, -1);

  JsonScanner scanner;
  scanner.SetText("0123456789");
  EXPECT_EQ(scanner.GetSpan(2, 5), "23");
  EXPECT_EQ(scanner.GetSpan(2, 5, true), "1234");
  EXPECT_EQ(scanner.GetSpan(9, 20), "9");
  EXPECT_EQ(scanner.GetSpan(-1, 2), "0");
}

TEST(JsonScanner, EscapeProtection) {
  struct Case {
    const char* name;
    std::string text, expected;
  };
  const Case cases[] = {
      {"escaped quote", R"(a\"b)", R"(a\''b)"},
      {"escaped backslash then quote", R"(a\\"b)", R"(a\\"b)"},
      {"three backslashes then quote", R"(a\\\"b)", R"(a\\\''b)"},
      {"no backslash", R"("ab")", R"("ab")"},
      {"trail byte backslash is no escape", "\x81\x5C\"", "\x81\x5C\""},
      {"the text's own bars join the pairs", R"(\|\|\\"x)", R"(\\\\"x)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(protectEscapedQuotes(c.text), c.expected);
  }
}

// The scan over backslash bytes gives what the three literal replacements give, also where a
// backslash or a quote byte sits next to double-byte characters whose second byte is a backslash.
TEST(JsonScanner, EscapeProtectionEqualsTheLiteralReplacements) {
  const std::vector<Text> pieces = {"\\", "\\\\", "\"", "'", "|", "a", " ", "\x81\x5C",
                                    "\x81\x5C\x5C", g("中"), g("省、"), "\xA1", "\x81"};
  std::mt19937 random(20261211);
  for (int i = 0; i < 20000; ++i) {
    Text t;
    const int length = static_cast<int>(random() % 16);
    for (int k = 0; k < length; ++k) {
      const std::size_t piece = random() % pieces.size();
      // A bar sends the text down the literal path; keep most texts without one.
      if (pieces[piece] == "|" && random() % 4 != 0) continue;
      t += pieces[piece];
    }
    Text literal = replaceAll(t, "\\\\", "\\|\\|", false);
    literal = replaceAll(literal, "\\\"", "\\''", false);
    literal = replaceAll(literal, "\\|\\|", "\\\\", false);
    ASSERT_EQ(protectEscapedQuotes(t), literal) << "input: [" << t << "]";
  }
}

TEST(JsonScanner, Paths) {
  struct Case {
    const char* name;
    std::string path;
    std::vector<std::string> segments;
  };
  const Case cases[] = {
      {"dotted", "searchResultInfo.[3].searchResultfoTitle", {"searchResultInfo", "[3]", "searchResultfoTitle"}},
      {"quoted segment holds dots", R"(a."b.c".d)", {"a", "b.c", "d"}},
      {"apostrophe pairs", "a.''b.c''.d", {"a", "b.c", "d"}},
      {"two dots in a row", "a..b", {"a", "", "b"}},
      {"edge blanks of a segment", " a . b ", {"a", "b"}},
      {"unpaired last quote takes the rest", R"(a."b.c)", {"a", "b.c"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    JsonScanner scanner;
    EXPECT_EQ(scanner.SplitPath(c.path), static_cast<int32_t>(c.segments.size()));
    std::vector<Text> segments;
    scanner.GetPathSegments(segments);
    EXPECT_EQ(segments, std::vector<Text>(c.segments.begin(), c.segments.end()));
  }
  EXPECT_EQ(JsonScanner::NormalizePath("data[0].name", 1), "data.[0].name");
  EXPECT_EQ(JsonScanner::NormalizePath("a[0][1]", 1), "a.[0][1]");
  EXPECT_EQ(JsonScanner::NormalizePath("[0].a", 1), "[0].a");
  EXPECT_EQ(JsonScanner::NormalizePath("data.[0].name", 0), "data[0].name");
  EXPECT_EQ(JsonScanner::NormalizePath("x", 7), "");
}

TEST(JsonScanner, QueryTextWithoutATree) {
  JsonScanner scanner;
  const Text json = R"({"a":{"b":[10,{"c":" \"x\" "}]},"d":2})";
  EXPECT_EQ(scanner.QueryText(json, "a.b.[2].c"), "\\\"x\\\"");
  EXPECT_EQ(scanner.QueryText(json, "a.b.[1]"), "10");
  EXPECT_EQ(scanner.QueryText(json, "a.b.[0]", true), "10");
  EXPECT_EQ(scanner.QueryText(json, "d"), "2");
  EXPECT_EQ(scanner.QueryText(json, "x"), "");
  EXPECT_EQ(scanner.QueryText("{ \"a\" : 1 }", ""), "{\"a\": 1 }");
}

}  // namespace
}  // namespace vellox
