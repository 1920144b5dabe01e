#include "json/json_node_tree.h"

#include <algorithm>

namespace vellox {

void JsonNodeTree::Clear() {
  nodes_.clear();
  topLevelCount_ = 0;
  subtreeEndsValid_ = false;
}

const std::vector<int32_t>& JsonNodeTree::subtreeEnds() const {
  if (subtreeEndsValid_) return subtreeEnds_;
  // A node's subtree ends at the first later node whose level is not greater than its own.
  const auto count = static_cast<int32_t>(nodes_.size());
  subtreeEnds_.assign(nodes_.size(), count);
  firstChild_.clear();
  firstChild_.reserve(nodes_.size());
  std::vector<int32_t> open;  // nodes whose subtree is still running
  for (int32_t i = 0; i < count; ++i) {
    const JsonNode& node = nodes_[static_cast<std::size_t>(i)];
    while (!open.empty() && nodes_[static_cast<std::size_t>(open.back())].level >= node.level) {
      subtreeEnds_[static_cast<std::size_t>(open.back())] = i;
      open.pop_back();
    }
    // The parent is the open node one level up; a node without one (a broken list) gets no key.
    const bool topLevel = open.empty() && node.level == 1;
    const bool child = !open.empty() && nodes_[static_cast<std::size_t>(open.back())].level == node.level - 1;
    if (topLevel || child) firstChild_.try_emplace({topLevel ? 0 : open.back() + 1, node.name}, i);
    open.push_back(i);
  }
  subtreeEndsValid_ = true;
  return subtreeEnds_;
}

int32_t JsonNodeTree::InsertNode(int32_t parent, const Text& name, int32_t type, const Text& value) {
  subtreeEndsValid_ = false;
  if (!valid(parent)) {
    nodes_.push_back({name, type, value, 1, 0, ++topLevelCount_});
    return GetNodeCount();
  }
  int32_t at = FindSubtreeEnd(parent);
  if (at == -1) at = GetNodeCount() + 1;
  JsonNode& p = nodes_[static_cast<std::size_t>(parent - 1)];
  const JsonNode child{name, type, value, p.level + 1, 0, ++p.childCount};
  nodes_.insert(nodes_.begin() + (at - 1), child);
  subtreeEndsValid_ = false;
  return at;
}

int32_t JsonNodeTree::AppendToLastSubtree(int32_t parent, Text name, int32_t type, Text value) {
  subtreeEndsValid_ = false;
  if (!valid(parent)) {
    nodes_.push_back({std::move(name), type, std::move(value), 1, 0, ++topLevelCount_});
    return GetNodeCount();
  }
  JsonNode& p = nodes_[static_cast<std::size_t>(parent - 1)];
  const int32_t level = p.level + 1;
  const int32_t ordinal = ++p.childCount;
  nodes_.push_back({std::move(name), type, std::move(value), level, 0, ordinal});
  return GetNodeCount();
}

int32_t JsonNodeTree::FindSubtreeEnd(int32_t node) const {
  if (!valid(node)) return -1;
  const int32_t level = nodes_[static_cast<std::size_t>(node - 1)].level;
  const auto count = static_cast<int64_t>(nodes_.size());
  // p is the 0-based index of the next node to look at. Jumping over a node's direct children
  // never leaves its subtree, so no node outside the subtree is skipped.
  for (int64_t p = node; p < count;) {
    pumpEvents();
    const JsonNode& n = nodes_[static_cast<std::size_t>(p)];
    if (level >= n.level) return static_cast<int32_t>(p + 1);
    p += 1 + n.childCount;
  }
  return -1;
}

int32_t JsonNodeTree::FindByName(int32_t level, const Text& name, int32_t start) const {
  // Walking node by node (and hopping over deeper nodes by their child counts) visits, at the
  // searched level, exactly the siblings in order; hopping over each sibling's whole subtree
  // visits the same ones without walking through their descendants.
  const std::vector<int32_t>& ends = subtreeEnds();
  const auto count = static_cast<int64_t>(nodes_.size());
  // Among the children of `start` (or the top level), the first of that name is known.
  if ((start >= 1 && start <= count && level == nodes_[static_cast<std::size_t>(start - 1)].level + 1) ||
      (start <= 0 && level == 1)) {
    pumpEvents();
    const auto found = firstChild_.find({start < 0 ? 0 : start, name});
    return found == firstChild_.end() ? -1 : found->second + 1;
  }
  for (int64_t p = start < 0 ? 0 : start; p < count;) {
    pumpEvents();
    const JsonNode& n = nodes_[static_cast<std::size_t>(p)];
    if (n.level < level) return -1;
    if (n.level == level && n.name == name) return static_cast<int32_t>(p + 1);
    p = ends[static_cast<std::size_t>(p)];
  }
  return -1;
}

int32_t JsonNodeTree::GetLevel(int32_t node) const { return valid(node) ? this->node(node).level : -1; }

int32_t JsonNodeTree::GetChildCount(int32_t node) const {
  return valid(node) ? this->node(node).childCount : -1;
}

bool JsonNodeTree::HasChildren(int32_t node) const {
  return valid(node) && this->node(node).childCount != 0;
}

Text JsonNodeTree::GetName(int32_t node) const { return valid(node) ? this->node(node).name : Text(); }

int32_t JsonNodeTree::GetType(int32_t node) const { return valid(node) ? this->node(node).type : -1; }

Text JsonNodeTree::GetValue(int32_t node) const { return valid(node) ? this->node(node).value : Text(); }

int32_t JsonNodeTree::GetParent(int32_t node) const {
  if (!valid(node)) return -1;
  const int32_t level = this->node(node).level;
  if (level == 1) return 0;
  // Each step back by the ordinal lands at or after the parent: the earlier siblings and their
  // subtrees lie between the parent and the node.
  for (;;) {
    // (An ordinal below 1 can only come from an edited list; stepping by one keeps the walk finite.)
    node -= std::max(1, this->node(node).ordinal);
    if (node == 0) return 0;
    if (node < 0) return -1;
    const int32_t l = this->node(node).level;
    if (l == level - 1) return node;
    if (l < level - 1) return -1;
  }
}

}  // namespace vellox
