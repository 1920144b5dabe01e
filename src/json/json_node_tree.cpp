#include "json/json_node_tree.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <unordered_map>

namespace vellox {

void JsonNodeTree::Clear() {
  nodes_.clear();
  texts_.clear();
  topLevelCount_ = 0;
  changed();
}

JsonNodeTree::TextRef JsonNodeTree::refTo(std::size_t offset, std::size_t length) {
  if (offset + length > UINT32_MAX) {
    texts_.resize(std::min<std::size_t>(texts_.size(), offset));
    throw std::length_error("JSON node texts beyond 4 GiB");
  }
  return {static_cast<uint32_t>(offset), static_cast<uint32_t>(length)};
}

JsonNodeTree::TextRef JsonNodeTree::storeText(std::string_view text) {
  const TextRef ref = refTo(texts_.size(), text.size());
  // A piece of the store itself is copied out first: appending may move the store.
  const std::less_equal<const char*> notAfter;
  if (!text.empty() && notAfter(texts_.data(), text.data()) &&
      !notAfter(texts_.data() + texts_.size(), text.data())) {
    const Text copy(text);
    texts_.append(copy);
  } else {
    texts_.append(text);
  }
  return ref;
}

void JsonNodeTree::reserve(std::size_t nodes, std::size_t textBytes) {
  texts_.reserve(textBytes);
  nodes_.reserve(nodes);
}

void JsonNodeTree::adoptSubtreeEnds(std::vector<int32_t> ends) {
  subtreeEnds_ = std::move(ends);
  childTables_.clear();
  indexValid_ = true;
  indexUsable_ = true;
}

JsonNodeTree::Record JsonNodeTree::stored(const JsonNode& node) {
  const TextRef name = storeText(node.name);
  const TextRef value = storeText(node.value);
  return {name, value, node.type, node.level, node.childCount, node.ordinal};
}

void JsonNodeTree::insertRecords(int32_t index, const JsonNodeList& records) {
  std::vector<Record> converted;
  converted.reserve(records.size());
  for (const JsonNode& r : records) converted.push_back(stored(r));
  nodes_.insert(nodes_.begin() + (index - 1), converted.begin(), converted.end());
}

JsonNode JsonNodeTree::node(int32_t index) const {
  const Record& r = rec(index);
  return {Text(view(r.name)), r.type, Text(view(r.value)), r.level, r.childCount, r.ordinal};
}

std::string_view JsonNodeTree::nameView(int32_t node) const {
  return valid(node) ? view(rec(node).name) : std::string_view();
}

std::string_view JsonNodeTree::valueView(int32_t node) const {
  return valid(node) ? view(rec(node).value) : std::string_view();
}

bool JsonNodeTree::index() const {
  if (indexValid_) return indexUsable_;
  indexValid_ = true;
  indexUsable_ = false;
  const auto count = static_cast<int32_t>(nodes_.size());
  subtreeEnds_.assign(nodes_.size(), count);
  childTables_.clear();
  // Walk the list keeping the chain of open ancestors; check every rule on the way.
  std::vector<int32_t> open;
  std::vector<int32_t> children;  // children seen so far of each open node
  int32_t topLevel = 0;
  auto close = [&] {
    const int32_t node = open.back();
    if (nodes_[static_cast<std::size_t>(node)].childCount != children.back()) return false;
    open.pop_back();
    children.pop_back();
    return true;
  };
  for (int32_t i = 0; i < count; ++i) {
    const Record& node = nodes_[static_cast<std::size_t>(i)];
    while (!open.empty() && nodes_[static_cast<std::size_t>(open.back())].level >= node.level) {
      subtreeEnds_[static_cast<std::size_t>(open.back())] = i;
      if (!close()) return false;
    }
    const int32_t expectedLevel = open.empty() ? 1 : nodes_[static_cast<std::size_t>(open.back())].level + 1;
    if (node.level != expectedLevel) return false;
    const int32_t ordinal = open.empty() ? ++topLevel : ++children.back();
    if (node.ordinal != ordinal) return false;
    open.push_back(i);
    children.push_back(0);
  }
  while (!open.empty()) {
    if (!close()) return false;
  }
  indexUsable_ = topLevel == topLevelCount_;
  return indexUsable_;
}

uint64_t JsonNodeTree::nameHash(std::string_view name) {
  // Eight bytes at a time: names are short and hashed once per node and per lookup.
  uint64_t h = 0x9E3779B97F4A7C15ULL ^ name.size();
  std::size_t i = 0;
  for (; i + 8 <= name.size(); i += 8) {
    uint64_t word;
    std::memcpy(&word, name.data() + i, sizeof word);
    h = (h ^ word) * 0xFF51AFD7ED558CCDULL;
    h ^= h >> 32;
  }
  uint64_t tail = 0;
  if (i < name.size()) std::memcpy(&tail, name.data() + i, name.size() - i);
  h = (h ^ tail) * 0xC4CEB9FE1A85EC53ULL;
  return h ^ (h >> 29);
}

void JsonNodeTree::buildChildTable(int32_t parent, ChildTable& table) const {
  const int32_t children = parent > 0 ? rec(parent).childCount : topLevelCount_;
  std::size_t capacity = 8;
  while (capacity < static_cast<std::size_t>(children) * 2) capacity *= 2;
  table.slots.assign(capacity, ChildSlot{});
  const std::size_t mask = capacity - 1;
  const auto count = static_cast<int32_t>(nodes_.size());
  // The children: from the node after the parent, hopping over whole subtrees.
  const int32_t level = parent > 0 ? rec(parent).level + 1 : 1;
  for (int32_t p = std::max(parent, 0); p < count && nodes_[static_cast<std::size_t>(p)].level == level;
       p = std::max(p + 1, subtreeEnds_[static_cast<std::size_t>(p)])) {
    const std::string_view name = view(nodes_[static_cast<std::size_t>(p)].name);
    const uint64_t hash = nameHash(name);
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
      ChildSlot& s = table.slots[slot];
      if (s.index == -1) {
        s = {static_cast<uint32_t>(hash >> 32), p};
        break;
      }
      // An earlier sibling of the same name keeps its place: lookups find the first.
      if (s.hash == static_cast<uint32_t>(hash >> 32) &&
          view(nodes_[static_cast<std::size_t>(s.index)].name) == name) {
        break;
      }
    }
  }
}

int32_t JsonNodeTree::findInTable(const ChildTable& table, std::string_view name) const {
  const uint64_t hash = nameHash(name);
  const std::size_t mask = table.slots.size() - 1;
  for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
    const ChildSlot& s = table.slots[slot];
    if (s.index == -1) return -1;
    if (s.hash == static_cast<uint32_t>(hash >> 32) &&
        view(nodes_[static_cast<std::size_t>(s.index)].name) == name) {
      return s.index;
    }
  }
}

int32_t JsonNodeTree::AppendToLastSubtree(int32_t parent, std::string_view name, int32_t type,
                                          std::string_view value) {
  const TextRef nameRef = storeText(name);
  return AppendToLastSubtree(parent, nameRef, type, storeText(value));
}

int32_t JsonNodeTree::AppendToLastSubtree(int32_t parent, TextRef name, int32_t type, TextRef value) {
  changed();
  if (!valid(parent)) {
    nodes_.push_back({name, value, type, 1, 0, ++topLevelCount_});
    return GetNodeCount();
  }
  Record& p = at(parent);
  const int32_t level = p.level + 1;
  const int32_t ordinal = ++p.childCount;
  nodes_.push_back({name, value, type, level, 0, ordinal});
  return GetNodeCount();
}

int32_t JsonNodeTree::InsertNode(int32_t parent, const Text& name, int32_t type, const Text& value,
                                 int32_t position, const JsonNodeList* list, bool relevel) {
  changed();
  JsonNodeList records = list != nullptr ? *list : JsonNodeList{{name, type, value, 0, 0, 0}};
  const bool underParent = valid(parent);
  const int32_t level = underParent ? at(parent).level + 1 : 1;
  if (list == nullptr) {
    records[0].level = level;
  } else if (relevel) {
    SetLevels(records, level);
  }
  const int32_t siblings = underParent ? at(parent).childCount : topLevelCount_;
  if (position >= 1 && position <= siblings) {
    const int32_t index = FindNthAtLevel(level, position, underParent ? parent : 0);
    if (index != -1) {
      insertRecords(index, records);
      RenumberChildren(underParent ? parent : 0, position);
      return index;
    }
  }
  if (!underParent) {
    for (JsonNode& r : records) r.ordinal = ++topLevelCount_;
    insertRecords(GetNodeCount() + 1, records);
    return GetNodeCount();
  }
  int32_t index = FindSubtreeEnd(parent);
  if (index == -1) index = GetNodeCount() + 1;
  for (JsonNode& r : records) r.ordinal = ++at(parent).childCount;
  insertRecords(index, records);
  return index;
}

int32_t JsonNodeTree::SetLevels(JsonNodeList& list, int32_t level, int32_t delta) {
  for (JsonNode& r : list) r.level = delta != 0 ? level + delta : level;
  return static_cast<int32_t>(list.size());
}

void JsonNodeTree::RenumberChildren(int32_t parent, int32_t fromOrdinal) {
  changed();
  std::vector<int32_t> positions;
  if (parent > 0) {
    ListAtLevel(GetLevel(parent) + 1, positions, parent);
  } else {
    ListAtLevel(1, positions, 0);
  }
  for (int32_t k = std::max(fromOrdinal, 1); k <= static_cast<int32_t>(positions.size()); ++k) {
    at(positions[static_cast<std::size_t>(k - 1)]).ordinal = k;
  }
  if (parent > 0) {
    if (valid(parent)) at(parent).childCount = static_cast<int32_t>(positions.size());
  } else {
    topLevelCount_ = static_cast<int32_t>(positions.size());
  }
}

template <typename Stop>
int32_t JsonNodeTree::walkLevel(int32_t level, int32_t start, Stop stop) const {
  const auto count = static_cast<int64_t>(nodes_.size());
  for (int64_t p = std::max(start, 0); p < count;) {
    pumpEvents();
    const Record& n = nodes_[static_cast<std::size_t>(p)];
    if (n.level == level) {
      if (stop(static_cast<int32_t>(p + 1))) return static_cast<int32_t>(p + 1);
      ++p;
    } else if (n.level < level) {
      return -1;
    } else {
      p += 1 + std::max(n.childCount, 0);  // (a negative count from a caller's list must not stall)
    }
  }
  return -1;
}

void JsonNodeTree::ListAtLevel(int32_t level, std::vector<int32_t>& positions, int32_t start) const {
  positions.clear();
  walkLevel(level, start, [&](int32_t index) {
    positions.push_back(index);
    return false;
  });
}

int32_t JsonNodeTree::FindNthAtLevel(int32_t level, int32_t n, int32_t start) const {
  int32_t seen = 0;
  return walkLevel(level, start, [&](int32_t) { return ++seen == n; });
}

int32_t JsonNodeTree::GetParent(int32_t node) const {
  if (!valid(node)) return -1;
  return GetParentAtLevel(node, 0);
}

int32_t JsonNodeTree::GetParentAtLevel(int32_t node, int32_t level) const {
  int32_t b = 0;
  if (valid(node)) {
    b = rec(node).level;
    if (b == 1) return 0;
  } else {
    // Outside the list: the given level, and the walk starts one position before the index,
    // with that node as the first candidate.
    b = level;
    node -= 1;
    if (!valid(node)) return -1;
    if (b == 1) return 0;
    const int32_t l = rec(node).level;
    if (l == b - 1) return node;
    if (l < b - 1) return -1;
  }
  // Each step back by the ordinal lands at or after the parent: the earlier siblings and their
  // subtrees lie between the parent and the node. (An ordinal below 1 can only come from a
  // caller's node list; stepping by one keeps the walk finite.)
  for (;;) {
    node -= std::max(1, rec(node).ordinal);
    if (node == 0) return 0;
    if (node < 0) return -1;
    const int32_t l = rec(node).level;
    if (l == b - 1) return node;
    if (l < b - 1) return -1;
  }
}

bool JsonNodeTree::RemoveNode(int32_t node, bool keepChildren) {
  if (!valid(node)) return false;
  changed();
  const int32_t level = at(node).level;
  const int32_t ordinal = at(node).ordinal;
  const int32_t parent = std::max(GetParent(node), 0);
  int32_t descendants = 0;
  while (node + descendants < GetNodeCount() && at(node + descendants + 1).level > level) ++descendants;
  int32_t previous = 0;
  if (keepChildren && ordinal > 1) {
    if (descendants > 0) previous = FindNthAtLevel(level, ordinal - 1, parent);
    nodes_.erase(nodes_.begin() + (node - 1));
  } else {
    nodes_.erase(nodes_.begin() + (node - 1), nodes_.begin() + (node + descendants));
  }
  RenumberChildren(parent, ordinal);
  if (previous > 0) RenumberChildren(previous, at(previous).childCount + 1);
  return true;
}

bool JsonNodeTree::SetName(int32_t node, const Text& name) {
  if (!valid(node)) return false;
  changed();
  at(node).name = storeText(name);
  return true;
}

bool JsonNodeTree::SetType(int32_t node, int32_t type) {
  if (!valid(node)) return false;
  at(node).type = type;
  return true;
}

bool JsonNodeTree::SetValue(int32_t node, const Text& value) {
  if (!valid(node)) return false;
  at(node).value = storeText(value);
  return true;
}

int32_t JsonNodeTree::GetNodes(JsonNodeList& out) const {
  out.clear();
  out.reserve(nodes_.size());
  for (int32_t i = 1; i <= GetNodeCount(); ++i) out.push_back(node(i));
  return GetNodeCount();
}

int32_t JsonNodeTree::FindSubtreeEnd(int32_t node) const {
  if (!valid(node)) return -1;
  const int32_t level = rec(node).level;
  const auto count = static_cast<int64_t>(nodes_.size());
  // p is the 0-based index of the next node to look at. Jumping over a node's direct children
  // never leaves its subtree, so no node outside the subtree is skipped.
  for (int64_t p = node; p < count;) {
    pumpEvents();
    const Record& n = nodes_[static_cast<std::size_t>(p)];
    if (level >= n.level) return static_cast<int32_t>(p + 1);
    p += 1 + std::max(n.childCount, 0);
  }
  return -1;
}

int32_t JsonNodeTree::FindByName(int32_t level, const Text& name, int32_t start) const {
  const auto count = static_cast<int64_t>(nodes_.size());
  if (index()) {
    // With the rules intact, the siblings at the searched level are exactly the nodes that
    // hopping over whole subtrees visits. Among the children of a known node (or the top level)
    // the first of a name can also come from a table of that node's children; building one costs
    // about as much as hopping over all of them a few times, so it is built only once lookups
    // there have hopped that much (a page's listings are read a few fields each and never need
    // one; the list of listings, read by position again and again, soon has one).
    ChildTable* table = nullptr;
    if ((start >= 1 && start <= count && level == rec(start).level + 1) || (start <= 0 && level == 1)) {
      const int32_t parent = std::max(start, 0);
      table = &childTables_[parent];
      const int32_t children = parent > 0 ? rec(parent).childCount : topLevelCount_;
      if (table->slots.empty() && table->hops > 4 * int64_t{children} + 16) buildChildTable(parent, *table);
      if (!table->slots.empty()) {
        pumpEvents();
        const int32_t found = findInTable(*table, name);
        return found == -1 ? -1 : found + 1;
      }
    }
    for (int64_t p = std::max(start, 0); p < count;) {
      pumpEvents();
      if (table != nullptr) ++table->hops;
      const Record& n = nodes_[static_cast<std::size_t>(p)];
      if (n.level < level) return -1;
      if (n.level == level && view(n.name) == name) return static_cast<int32_t>(p + 1);
      p = std::max<int64_t>(p + 1, subtreeEnds_[static_cast<std::size_t>(p)]);
    }
    return -1;
  }
  // The list breaks the rules: walk it node by node, hopping over deeper nodes by their child
  // counts, whatever those say.
  return walkLevel(level, start, [&](int32_t index) { return view(rec(index).name) == name; });
}

int32_t JsonNodeTree::GetLevel(int32_t node) const { return valid(node) ? rec(node).level : -1; }

int32_t JsonNodeTree::GetChildCount(int32_t node) const {
  return valid(node) ? rec(node).childCount : -1;
}

bool JsonNodeTree::HasChildren(int32_t node) const {
  return valid(node) && rec(node).childCount != 0;
}

Text JsonNodeTree::GetName(int32_t node) const { return Text(nameView(node)); }

int32_t JsonNodeTree::GetType(int32_t node) const { return valid(node) ? rec(node).type : -1; }

Text JsonNodeTree::GetValue(int32_t node) const { return Text(valueView(node)); }

}  // namespace vellox
