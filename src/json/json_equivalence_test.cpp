// The library against the step-by-step transcription of the loading algorithm: the same node
// list (names, kinds, values, levels, child counts, ordinals) for realistic pages, pretty-printed
// pages, truncated and mangled pages, and random JSON-like texts full of traps.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "json/json_document.h"
#include "json/json_reference.h"
#include "listing_generator.h"
#include "text/codepage.h"

namespace vellox {
namespace {

void expectSameTree(const Text& json, int32_t standardPaths = 0) {
  JsonDocument doc;
  doc.Load(json, standardPaths);
  const JsonNodeTree expected = reference::load(json, standardPaths);
  const JsonNodeTree& actual = doc.tree();
  ASSERT_EQ(actual.GetNodeCount(), expected.GetNodeCount()) << "input: " << json.substr(0, 300);
  for (int32_t i = 1; i <= actual.GetNodeCount(); ++i) {
    const JsonNode& a = actual.node(i);
    const JsonNode& e = expected.node(i);
    ASSERT_EQ(a, e) << "node " << i << ": [" << a.name << "|" << a.type << "|" << a.value << "|"
                    << a.level << "|" << a.childCount << "|" << a.ordinal << "] expected ["
                    << e.name << "|" << e.type << "|" << e.value << "|" << e.level << "|"
                    << e.childCount << "|" << e.ordinal << "] input: " << json.substr(0, 300);
  }
  ASSERT_EQ(actual.topLevelCount(), expected.topLevelCount());
}

Text page(const std::string& keyword, int32_t offset) {
  directory::SearchQuery query;
  query.keyword = keyword;
  query.offset = offset;
  return utf8ToGbk(directory::searchAnswer(query, {}));
}

Text prettyPrinted(const Text& compact) {
  Text out;
  bool inString = false;
  int depth = 0;
  for (std::size_t i = 0; i < compact.size(); ++i) {
    const char c = compact[i];
    if (c == '"' && (i == 0 || compact[i - 1] != '\\')) inString = !inString;
    if (!inString && (c == '}' || c == ']')) out += "\r\n" + std::string(2 * --depth, ' ');
    out.push_back(c);
    if (!inString && (c == '{' || c == '[')) out += "\r\n" + std::string(2 * ++depth, ' ');
    if (!inString && c == ',') out += "\r\n" + std::string(2 * depth, ' ');
    if (!inString && c == ':') out += " ";
  }
  return out;
}

TEST(JsonEquivalence, RealisticPages) {
  for (const auto& [keyword, offset] : {std::pair{"五金", 0}, {"办公用品", 40}, {"", 0}}) {
    const Text text = page(keyword, offset);
    expectSameTree(text);
    expectSameTree(text, 1);
    expectSameTree(prettyPrinted(text));
  }
}

// The last character boundary at or before byte `pos`: cuts and insertions keep the text valid
// GBK, so that the pages stay realistic.
std::size_t boundaryAtOrBefore(const Text& t, std::size_t pos) {
  std::size_t p = 0;
  while (p < pos && p + charLength(t, p) <= pos) p += charLength(t, p);
  return p;
}

TEST(JsonEquivalence, TruncatedAndMangledPages) {
  const Text text = page("机电", 0).substr(0, 12000);
  std::mt19937 random(7);
  for (int i = 0; i < 60; ++i) {
    Text t = text.substr(0, boundaryAtOrBefore(text, random() % text.size()));  // truncated
    for (int k = 0; k < 8; ++k) {                      // structural characters dropped in
      const char inserts[] = {'{', '}', '[', ']', '"', ',', ':', '\\', '|', ' '};
      const std::size_t at = boundaryAtOrBefore(t, random() % (t.size() + 1));
      t.insert(t.begin() + static_cast<std::ptrdiff_t>(at), inserts[random() % 10]);
    }
    expectSameTree(t);
  }
}

// Random nested values built from pieces that stress the cutting rules.
Text randomValue(std::mt19937& random, int depth) {
  static const std::vector<Text> scalars = {
      "1", "-2.5e3", "true", "null", "\"s\"", "\"a,b\"", "\"}{][\"", "\"q\\\"x\"", "\"\\\\\"",
      "\" edge \"", "\"\xD6\xD0\xCE\xC4\"", "\"\x81\x5C\"", "\"\xA1\xA1\"", "abc", "\"\"", "\"|\\|\"",
      "\"a\r\nb\"", "\"'' ''\""};
  const int choice = static_cast<int>(random() % (depth > 3 ? 1 : 4));
  if (choice == 0) return scalars[random() % scalars.size()];
  const int n = static_cast<int>(random() % 4);
  const char* blanks[] = {"", " ", "\r\n  ", "\t", "\xA1\xA1"};
  auto blank = [&] { return Text(blanks[random() % 5]); };
  Text out = choice == 1 ? "[" : "{";
  for (int i = 0; i < n; ++i) {
    if (i > 0) out += blank() + "," + blank();
    if (choice != 1) out += blank() + "\"k" + std::to_string(random() % 3) + "\"" + blank() + ":" + blank();
    out += randomValue(random, depth + 1);
  }
  return out + blank() + (choice == 1 ? "]" : "}");
}

TEST(JsonEquivalence, RandomTexts) {
  std::mt19937 random(20261211);
  for (int i = 0; i < 3000; ++i) {
    const Text text = randomValue(random, 0);
    expectSameTree(text);
    if (i % 10 == 0) expectSameTree(text.substr(0, boundaryAtOrBefore(text, random() % (text.size() + 1))));
  }
}

}  // namespace
}  // namespace vellox
