// JsonNodeTree: the flat, pre-ordered node list of a loaded document.
//
// A tree is used by one thread at a time (lookups keep a cache).
//
// Every node is followed by all of its descendants, then by its next sibling. Nodes are
// addressed by their 1-based index; index 0 (or an omitted parent) means the top level, and -1
// means "not found" in every result. Accessors never fail: an index outside 1..count gives -1,
// "" or false.
#pragma once

#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "json/json_scanner.h"
#include "text/text.h"

namespace vellox {

struct JsonNode {
  Text name;               // member key, "[n]" for an array element, "JSON" for the root
  int32_t type = 0;        // 0 scalar, 1 object, 2 array
  Text value;              // the raw JSON text of the value
  int32_t level = 0;       // 1 for a top-level node
  int32_t childCount = 0;  // direct children
  int32_t ordinal = 0;     // 1-based position among its siblings
  bool operator==(const JsonNode&) const = default;
};

class JsonNodeTree {
 public:
  void Clear();
  // Appends a node as the last child of `parent` (the top level when parent < 1 or beyond the
  // list); returns its index.
  int32_t InsertNode(int32_t parent, const Text& name, int32_t type, const Text& value);
  // Index of the first node after the subtree of `node`; -1 when the subtree runs to the end.
  int32_t FindSubtreeEnd(int32_t node) const;
  // First node of `level` named `name` (exact bytes) after index `start`, without leaving the
  // parent of that stretch; -1 when none.
  int32_t FindByName(int32_t level, const Text& name, int32_t start = 0) const;
  int32_t GetNodeCount() const { return static_cast<int32_t>(nodes_.size()); }
  int32_t GetLevel(int32_t node) const;
  int32_t GetChildCount(int32_t node) const;
  bool HasChildren(int32_t node) const;
  Text GetName(int32_t node) const;
  int32_t GetType(int32_t node) const;
  Text GetValue(int32_t node) const;
  // Index of the parent; 0 for a top-level node; -1 when out of range or not found.
  int32_t GetParent(int32_t node) const;
  int32_t topLevelCount() const { return topLevelCount_; }

  // The node at a valid index (for tests and the document).
  const JsonNode& node(int32_t index) const { return nodes_[static_cast<std::size_t>(index - 1)]; }

  void setProcessEvents(const ProcessEventsHook* hook) { processEvents_ = hook; }

  // Appends a child of `parent` whose subtree is known to run to the end of the list, as it does
  // for every node while a document is being loaded in order. Same result as InsertNode, without
  // searching for the subtree's end.
  int32_t AppendToLastSubtree(int32_t parent, Text name, int32_t type, Text value);

 private:
  bool valid(int32_t node) const { return node >= 1 && node <= GetNodeCount(); }
  void pumpEvents() const {
    if (processEvents_ != nullptr && *processEvents_) (*processEvents_)();
  }

  // Index (0-based) of the first node after each node's subtree, built on the first lookup after
  // a change. A lookup skips a sibling's whole subtree at once with it.
  const std::vector<int32_t>& subtreeEnds() const;

  // First child (0-based index) of each (parent index, name), parent 0 for the top level; built
  // with the subtree ends.
  struct ChildKey {
    int32_t parent;
    std::string_view name;
    bool operator==(const ChildKey&) const = default;
  };
  struct ChildKeyHash {
    std::size_t operator()(const ChildKey& k) const {
      return std::hash<std::string_view>()(k.name) * 31 + static_cast<std::size_t>(k.parent);
    }
  };

  std::vector<JsonNode> nodes_;
  int32_t topLevelCount_ = 0;
  mutable std::vector<int32_t> subtreeEnds_;
  mutable std::unordered_map<ChildKey, int32_t, ChildKeyHash> firstChild_;
  mutable bool subtreeEndsValid_ = false;
  const ProcessEventsHook* processEvents_ = nullptr;
};

}  // namespace vellox
