#include "json/json_document.h"

#include <gtest/gtest.h>

#include "text/codepage.h"

namespace vellox {
namespace {

Text g(const std::string& utf8) { return utf8ToGbk(utf8); }

struct NodeRow {
  std::string name;
  int32_t type;
  std::string value;
  int32_t level, childCount, ordinal;
};

void expectNodes(const JsonNodeTree& tree, const std::vector<NodeRow>& rows) {
  ASSERT_EQ(tree.GetNodeCount(), static_cast<int32_t>(rows.size()));
  for (std::size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE("node " + std::to_string(i + 1));
    const JsonNode& n = tree.node(static_cast<int32_t>(i + 1));
    EXPECT_EQ(n.name, g(rows[i].name));
    EXPECT_EQ(n.type, rows[i].type);
    EXPECT_EQ(n.value, g(rows[i].value));
    EXPECT_EQ(n.level, rows[i].level);
    EXPECT_EQ(n.childCount, rows[i].childCount);
    EXPECT_EQ(n.ordinal, rows[i].ordinal);
  }
}

TEST(JsonDocument, LoadBuildsThePreOrderedList) {
  JsonDocument doc;
  const std::string text = R"({"a": 1, "b": [true, {"c": "x"}]})";
  doc.Load(g(text));
  expectNodes(doc.tree(), {
                              {"JSON", 1, text, 1, 2, 1},
                              {"a", 0, "1", 2, 0, 1},
                              {"b", 2, R"([true,{"c":"x"}])", 2, 2, 2},
                              {"[1]", 0, "true", 3, 0, 1},
                              {"[2]", 1, R"({"c":"x"})", 3, 1, 2},
                              {"c", 0, R"("x")", 4, 0, 1},
                          });
  EXPECT_EQ(doc.tree().topLevelCount(), 1);
}

TEST(JsonDocument, LoadEdgeCases) {
  JsonDocument doc;
  doc.Load("{}");
  expectNodes(doc.tree(), {{"JSON", 1, "{}", 1, 0, 1}});
  doc.Load("[ ]");
  expectNodes(doc.tree(), {{"JSON", 2, "[ ]", 1, 0, 1}});
  doc.Load("[1,2,3]", 1);
  EXPECT_EQ(doc.tree().GetName(2), "[0]");
  EXPECT_EQ(doc.tree().GetName(4), "[2]");
  doc.Load("[1,2,3]");
  EXPECT_EQ(doc.tree().GetName(2), "[1]") << "a second load leaves nothing of the first";
  EXPECT_EQ(doc.tree().node(1).ordinal, 1);
  doc.Load("abc");
  expectNodes(doc.tree(), {{"JSON", 2, "abc", 1, 1, 1}, {"[1]", 0, "abc", 2, 0, 1}});
  doc.Load(R"({"k":"v","k":"w"})");
  EXPECT_EQ(doc.GetText("k"), "v") << "duplicate keys: the first wins";
  EXPECT_EQ(doc.tree().GetNodeCount(), 3);
  doc.Load(R"([[[{"a":[1]}]]])");
  EXPECT_EQ(doc.tree().GetNodeCount(), 6);
  EXPECT_EQ(doc.tree().GetLevel(6), 6);
  EXPECT_EQ(doc.GetText("[1].[1].[1].a.[1]"), "1");
}

TEST(JsonDocument, PathQueries) {
  JsonDocument doc;
  const Text text = R"({"searchResultInfo":[{"t":"A"},{"t":"B"}],"a":{"b.c":{"d":" \"q\" "}}})";
  doc.Load(text);
  EXPECT_EQ(doc.GetMemberCount("searchResultInfo"), 2);
  EXPECT_EQ(doc.GetText("searchResultInfo.[2].t"), "B");
  EXPECT_EQ(doc.GetText("searchResultInfo.[0].t"), "");
  EXPECT_EQ(doc.GetText("a.\"b.c\".d"), "\\\"q\\\"") << "quoted segment; escaped quotes restored";
  EXPECT_EQ(doc.GetText("a.''b.c''.d"), "\\\"q\\\"");
  EXPECT_EQ(doc.GetText("SearchResultInfo.[1].t"), "") << "names keep their letter case";
  EXPECT_EQ(doc.GetText("searchResultInfo.[1]"), R"({"t":"A"})") << "an object gives its text";
  EXPECT_EQ(doc.GetMemberCount("searchResultInfo.[1].t"), 0) << "a scalar has no members";
  EXPECT_EQ(doc.GetMemberCount("nothing"), 0);
  EXPECT_EQ(doc.GetMemberCount(""), 2);
  int32_t node = 0;
  EXPECT_EQ(doc.GetMemberCount("a", &node), 1);
  EXPECT_EQ(doc.tree().GetName(node), "a");

  // fromNode: the path is still written from the root.
  const int32_t second = doc.tree().FindByName(3, "[2]", 2);
  EXPECT_EQ(doc.GetText("searchResultInfo.[2].t", second), "B");
  EXPECT_EQ(doc.GetText("searchResultInfo.[2]", second), "") << "no segment moved the search";

  doc.Load(text, 1);
  EXPECT_EQ(doc.GetText("searchResultInfo[0].t"), "A");
  EXPECT_EQ(doc.GetText("searchResultInfo.[0].t"), "A");
  EXPECT_EQ(doc.GetMemberCount("searchResultInfo.[0]"), 1);
  EXPECT_EQ(doc.GetMemberCount("searchResultInfo[0]"), 0) << "member counts take the dotted form only";
}

TEST(JsonDocument, WholeTextAndCleaning) {
  JsonDocument doc;
  doc.Load("{\r\n  \"a\" : [ 1, 2 ],\r\n  \"s\" : \"  x y  \"\r\n}");
  EXPECT_EQ(doc.GetText(""), "{\"a\":[ 1, 2 ],\"s\":\"x y\"}") << "blanks inside strings go too";
  EXPECT_EQ(doc.GetText("s"), "x y");
  EXPECT_EQ(JsonDocument::CleanValue("\"a\\\\b\\nc\\u4e2d\""), "a\\\\b\\nc\\u4e2d") << "other escapes stay";
  EXPECT_EQ(JsonDocument::CleanValue("true"), "true");
}

TEST(JsonDocument, NodePathsLeadBackToTheirNodes) {
  JsonDocument doc;
  doc.Load(R"({"a":1,"b":[{"x.y":"v"},[2,3]],"c":{"d":null}})");
  EXPECT_EQ(doc.GetNodePath(1), "");
  EXPECT_EQ(doc.GetNodePath(2), "a");
  for (int32_t i = 2; i <= doc.tree().GetNodeCount(); ++i) {
    const Text path = doc.GetNodePath(i);
    SCOPED_TRACE(path);
    EXPECT_EQ(doc.GetText(path), JsonDocument::CleanValue(doc.tree().GetValue(i)));
  }
  EXPECT_EQ(doc.GetNodePath(4), "b.[1]");
  EXPECT_EQ(doc.GetNodePath(5), "b.[1].\"x.y\"");
  doc.Load(R"({"b":[0,1]})", 1);
  EXPECT_EQ(doc.GetNodePath(4), "b.[1]");
  EXPECT_EQ(doc.GetText(doc.GetNodePath(4)), "1");
}

// Lookups first hop over the siblings and, under a node looked into often, switch to a table of
// its children: both must give the first node of a name, also after an edit renames one.
TEST(JsonDocument, RepeatedLookupsKeepFindingTheFirstOfAName) {
  Text json = "{";
  for (int k = 0; k < 60; ++k) json += "\"k" + std::to_string(k) + "\":" + std::to_string(k) + ",";
  json += "\"k5\":\"second\",\"list\":[";
  for (int k = 0; k < 30; ++k) json += (k > 0 ? "," : "") + std::to_string(100 + k);
  json += "]}";
  JsonDocument doc;
  doc.Load(json);
  for (int round = 0; round < 20; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    for (int k = 0; k < 60; ++k) ASSERT_EQ(doc.GetText("k" + std::to_string(k)), std::to_string(k));
    for (int k = 1; k <= 30; ++k) ASSERT_EQ(doc.GetText("list.[" + std::to_string(k) + "]"), std::to_string(99 + k));
    EXPECT_EQ(doc.GetText("k60"), "");
  }
  const int32_t first = doc.tree().FindByName(2, "k5", 1);
  ASSERT_EQ(doc.tree().GetValue(first), "5");
  doc.editableTree().SetName(first, "renamed");
  EXPECT_EQ(doc.GetText("k5"), "second");
  EXPECT_EQ(doc.GetText("renamed"), "5");
}

TEST(JsonDocument, HostileInputNeverCrashes) {
  JsonDocument doc;
  doc.Load(std::string(100000, '['));  // deep nesting that never closes
  EXPECT_GE(doc.tree().GetNodeCount(), 1);
  const Text deep = std::string(5000, '[') + std::string(5000, ']');
  doc.Load(deep);
  EXPECT_EQ(doc.tree().GetNodeCount(), kMaxJsonDepth) << "no descent below the depth limit";
  EXPECT_EQ(doc.tree().GetLevel(kMaxJsonDepth), kMaxJsonDepth);
  EXPECT_EQ(doc.tree().GetType(kMaxJsonDepth), 2);
  EXPECT_EQ(doc.tree().GetChildCount(kMaxJsonDepth), 0) << "kept, raw, without children";
  EXPECT_EQ(doc.tree().GetValue(kMaxJsonDepth).size(), 2u * (5000 - kMaxJsonDepth + 1));
  doc.Load(Text("{\"a\":\"\0\xff\x81\",\"b\":1}", 17));
  EXPECT_EQ(doc.GetText("b"), "1");
  doc.Load("{\"a\":\"" + std::string(10 << 20, 'x') + "\"}");
  EXPECT_EQ(doc.GetText("a").size(), std::size_t{10} << 20);
  doc.Load("{\"a\":1,\"b\":\"unterminated");
  EXPECT_EQ(doc.GetText("a"), "1");
}

}  // namespace
}  // namespace vellox
