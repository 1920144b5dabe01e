#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "json/json_document.h"
#include "listing_generator.h"
#include "text/codepage.h"

namespace vellox {
namespace {

// Checks the rules of the node list: pre-order levels, child counts, ordinals, top-level count.
::testing::AssertionResult invariantsHold(const JsonNodeTree& tree) {
  std::vector<int32_t> open;      // indices of the open ancestors
  std::vector<int32_t> children;  // children counted so far for each
  int32_t topLevel = 0;
  auto close = [&]() -> ::testing::AssertionResult {
    const int32_t node = open.back();
    if (tree.GetChildCount(node) != children.back()) {
      return ::testing::AssertionFailure() << "node " << node << " says " << tree.GetChildCount(node)
                                           << " children, has " << children.back();
    }
    open.pop_back();
    children.pop_back();
    return ::testing::AssertionSuccess();
  };
  for (int32_t i = 1; i <= tree.GetNodeCount(); ++i) {
    while (!open.empty() && tree.GetLevel(open.back()) >= tree.GetLevel(i)) {
      if (auto r = close(); !r) return r;
    }
    const int32_t level = open.empty() ? 1 : tree.GetLevel(open.back()) + 1;
    if (tree.GetLevel(i) != level) {
      return ::testing::AssertionFailure() << "node " << i << " has level " << tree.GetLevel(i) << ", not " << level;
    }
    const int32_t ordinal = open.empty() ? ++topLevel : ++children.back();
    if (tree.node(i).ordinal != ordinal) {
      return ::testing::AssertionFailure() << "node " << i << " has ordinal " << tree.node(i).ordinal << ", not " << ordinal;
    }
    open.push_back(i);
    children.push_back(0);
  }
  while (!open.empty()) {
    if (auto r = close(); !r) return r;
  }
  if (topLevel != tree.topLevelCount()) return ::testing::AssertionFailure() << "top-level count";
  return ::testing::AssertionSuccess();
}

std::vector<std::string> names(const JsonNodeTree& tree, const std::vector<int32_t>& indices) {
  std::vector<std::string> out;
  for (const int32_t i : indices) out.push_back(tree.GetName(i));
  return out;
}

std::vector<int32_t> children(const JsonNodeTree& tree, int32_t parent) {
  std::vector<int32_t> positions;
  tree.ListAtLevel(parent > 0 ? tree.GetLevel(parent) + 1 : 1, positions, parent);
  return positions;
}

TEST(JsonEditing, SetValueCreatesWhatIsMissing) {
  JsonDocument doc;
  doc.Load(R"({"x":1})");
  doc.SetValue("a.b", "1", 0);
  const JsonNodeTree& t = doc.tree();
  EXPECT_TRUE(invariantsHold(t));
  EXPECT_EQ(t.GetChildCount(1), 2);
  const int32_t a = t.FindByName(2, "a", 1);
  ASSERT_NE(a, -1);
  EXPECT_EQ(t.GetType(a), 0);
  EXPECT_EQ(t.GetValue(a), "");
  EXPECT_EQ(t.GetChildCount(a), 1);
  EXPECT_EQ(doc.GetText("a.b"), "1");

  doc.Load(R"({"p":{"q":"old","r":2}})");
  doc.SetValue("p.q", "\"new\"", 0);
  EXPECT_EQ(doc.GetText("p.q"), "new");
  EXPECT_EQ(doc.GetText("p"), R"({"q":"old","r":2})") << "ancestors keep their loaded text";
  EXPECT_EQ(doc.tree().GetNodeCount(), 4);
  doc.SetValue("", "[]", 2);
  EXPECT_EQ(doc.tree().GetType(1), 2) << "the empty path is the root";
  EXPECT_EQ(doc.tree().GetValue(1), "[]");

  doc.Load(R"({"d":[5,6]})", 1);
  doc.SetValue("d[1]", "7", 0);
  EXPECT_EQ(doc.GetText("d.[1]"), "7");
}

TEST(JsonEditing, InsertAndRemove) {
  JsonDocument doc;
  doc.Load(R"({"p":{"a":{"a1":1},"b":2,"c":3},"z":0})");
  JsonNodeTree tree = doc.GetNodeTree();
  const int32_t p = tree.FindByName(2, "p", 1);

  EXPECT_EQ(tree.InsertNode(p, "new", 0, "9", 1), p + 1) << "before the first child";
  EXPECT_TRUE(invariantsHold(tree));
  EXPECT_EQ(names(tree, children(tree, p)), (std::vector<std::string>{"new", "a", "b", "c"}));
  for (int k = 1; k <= 4; ++k) EXPECT_EQ(tree.node(children(tree, p)[k - 1]).ordinal, k);

  const int32_t appended = tree.InsertNode(p, "last", 0, "x");
  EXPECT_EQ(tree.GetName(appended), "last");
  EXPECT_EQ(tree.node(appended).ordinal, 5);
  EXPECT_EQ(tree.InsertNode(p, "far", 0, "x", 99), appended + 1) << "a position beyond the children appends";
  EXPECT_TRUE(invariantsHold(tree));

  // Removing a leaf that follows a sibling with children removes only that leaf.
  const int32_t b = tree.FindByName(3, "b", p);
  ASSERT_TRUE(tree.RemoveNode(b));
  EXPECT_TRUE(invariantsHold(tree));
  EXPECT_EQ(names(tree, children(tree, p)), (std::vector<std::string>{"new", "a", "c", "last", "far"}));
  EXPECT_NE(tree.FindByName(4, "a1", tree.FindByName(3, "a", p)), -1);
  EXPECT_EQ(tree.GetChildCount(p), 5);

  // Removing the node with keepChildren hands its children to the previous sibling.
  ASSERT_TRUE(tree.RemoveNode(tree.FindByName(3, "a", p), true));
  EXPECT_TRUE(invariantsHold(tree));
  const int32_t first = tree.FindByName(3, "new", p);
  EXPECT_EQ(names(tree, children(tree, first)), (std::vector<std::string>{"a1"}));
  EXPECT_EQ(tree.GetChildCount(first), 1);

  // keepChildren on a first child removes its children too.
  tree.InsertNode(first, "k", 0, "1");
  ASSERT_TRUE(tree.RemoveNode(first, true));
  EXPECT_TRUE(invariantsHold(tree));
  EXPECT_EQ(tree.FindByName(4, "a1", p), -1);

  EXPECT_FALSE(tree.RemoveNode(0));
  EXPECT_FALSE(tree.RemoveNode(999));
  EXPECT_FALSE(tree.SetName(999, "x"));
  EXPECT_FALSE(tree.SetType(-1, 1));
  EXPECT_FALSE(tree.SetValue(0, "x"));
  EXPECT_EQ(doc.tree().GetNodeCount(), 7) << "the document's own tree is untouched by the copy";
}

TEST(JsonEditing, NodeListsAndWalks) {
  JsonNodeTree tree;
  tree.InsertNode(0, "r", 1, "{}");
  JsonNodeList list = {{"x", 0, "1", 7, 0, 0}, {"y", 0, "2", 7, 0, 0}};
  EXPECT_EQ(JsonNodeTree::SetLevels(list, 3, 1), 2);
  EXPECT_EQ(list[1].level, 4);
  EXPECT_EQ(tree.InsertNode(1, {}, 0, {}, 0, &list, true), 2);
  EXPECT_TRUE(invariantsHold(tree));
  EXPECT_EQ(tree.GetChildCount(1), 2);
  EXPECT_EQ(tree.FindNthAtLevel(2, 2, 1), 3);
  EXPECT_EQ(tree.FindNthAtLevel(2, 3, 1), -1);
  EXPECT_EQ(tree.GetParent(3), 1);
  EXPECT_EQ(tree.GetParent(1), 0);
  EXPECT_EQ(tree.GetParent(9), -1);
  EXPECT_EQ(tree.GetParentAtLevel(4, 2), 1) << "after the end: walk from the last node";
  EXPECT_EQ(tree.GetParentAtLevel(4, 3), 3);

  // A list inserted with its own levels keeps them, and lookups still give the walk's answers.
  JsonNodeList own = {{"deep", 0, "1", 5, 0, 0}};
  tree.InsertNode(1, {}, 0, {}, 0, &own, false);
  EXPECT_EQ(tree.GetLevel(4), 5);
  EXPECT_FALSE(invariantsHold(tree));
  EXPECT_EQ(tree.FindByName(2, "y", 1), 3);
  EXPECT_EQ(tree.FindByName(5, "deep", 3), 4);

  JsonNodeList copy;
  EXPECT_EQ(tree.GetNodes(copy), 4);
  copy[0].name = "changed";
  EXPECT_EQ(tree.GetName(1), "r");
}

TEST(JsonEditing, Capitalize) {
  EXPECT_EQ(JsonDocument::Capitalize("hELLO wORLD"), "Hello world");
  EXPECT_EQ(JsonDocument::Capitalize(""), "");
  EXPECT_EQ(JsonDocument::Capitalize("1ABC"), "1abc");
  // 丄 = 81 41: its second byte is not the letter A.
  EXPECT_EQ(JsonDocument::Capitalize("\x81\x41" "AB"), "\x81\x41" "ab");
  EXPECT_EQ(JsonDocument::Capitalize("a\x81\x41"), "A\x81\x41");
}

// Random inserts, removals, renames and value changes on a realistic page; the rules hold after
// every edit, and every node's path leads back to it.
TEST(JsonEditing, RandomEditsKeepTheRules) {
  directory::SearchQuery query;
  query.keyword = "五金";
  query.pageSize = 6;
  JsonDocument doc;
  doc.Load(utf8ToGbk(directory::searchAnswer(query, {})));
  JsonNodeTree& tree = doc.editableTree();
  std::mt19937 random(42);
  int unique = 0;
  int checkedPaths = 0;
  auto pick = [&] { return static_cast<int32_t>(1 + random() % static_cast<uint32_t>(tree.GetNodeCount())); };
  for (int edit = 0; edit < 4000; ++edit) {
    if (tree.GetNodeCount() < 3) break;
    const int kind = static_cast<int>(random() % 6);
    const int32_t node = pick();
    switch (kind) {
      case 0:
      case 1: {
        const int32_t position = static_cast<int32_t>(random() % (tree.GetChildCount(node) + 2));
        tree.InsertNode(node, "n" + std::to_string(++unique), 0, "v", position);
        break;
      }
      case 2: {
        JsonNodeList list = {{"l" + std::to_string(++unique), 0, "1", 0, 0, 0},
                             {"l" + std::to_string(++unique), 0, "2", 0, 0, 0}};
        tree.InsertNode(node, {}, 0, {}, static_cast<int32_t>(random() % 3), &list, true);
        break;
      }
      case 3:
        if (node != 1) tree.RemoveNode(node, random() % 2 == 0);
        break;
      case 4:
        if (node != 1) tree.SetName(node, "r" + std::to_string(++unique));
        break;
      default:
        tree.SetValue(node, "\"" + std::to_string(edit) + "\"");
    }
    ASSERT_TRUE(invariantsHold(tree)) << "after edit " << edit << " (kind " << kind << ")";
    if (edit % 200 == 0) {
      for (int32_t i = 2; i <= tree.GetNodeCount(); ++i) {
        // A path names the first sibling of each name; removals that keep children can put two
        // equal names side by side, and then only the first is reachable.
        bool reachable = true;
        for (int32_t n = i; n > 1 && reachable; n = tree.GetParent(n)) {
          reachable = tree.FindByName(tree.GetLevel(n), tree.GetName(n), tree.GetParent(n)) == n;
        }
        if (!reachable) continue;
        const Text path = doc.GetNodePath(i);
        ASSERT_EQ(doc.GetText(path), JsonDocument::CleanValue(tree.GetValue(i))) << path;
        ++checkedPaths;
      }
    }
  }
  EXPECT_GT(unique, 1000);
  EXPECT_GT(checkedPaths, 1000);
}

}  // namespace
}  // namespace vellox
