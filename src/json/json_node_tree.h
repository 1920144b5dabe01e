// JsonNodeTree: the flat, pre-ordered node list of a loaded document, and its editing.
//
// Every node is followed by all of its descendants, then by its next sibling; a node's children
// are the nodes one level deeper inside its subtree, numbered 1, 2... by `ordinal`, and their
// number is its `childCount`. Nodes are addressed by their 1-based index; index 0 (or an omitted
// parent) means the top level, and -1 means "not found" in every result. Accessors never fail:
// an index outside 1..count gives -1, "" or false. Every edit restores these rules before it
// returns, except an insertion of a caller's node list that keeps the list's own levels.
//
// The records keep their names and values as pieces of one text store owned by the tree, so a
// load stores its text once instead of copying every value into a string of its own; the
// accessors hand out copies (or views) as the records would. Edits store their new texts at the
// end of the store; what they replace stays there until the tree is cleared.
//
// A tree is used by one thread at a time (lookups keep a cache).
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

using JsonNodeList = std::vector<JsonNode>;

class JsonNodeTree {
 public:
  void Clear();

  // Inserts one node (name, type, value) or, when `list` is given, its records as consecutive
  // siblings under `parent` (the top level when parent is not a node). With `position` between 1
  // and the number of current children the records go before the position-th child and the
  // later siblings are renumbered; otherwise they are appended. A single node gets the level of
  // its place; a list gets it only with `relevel`. Returns the insertion index (for an append at
  // the top level, the new node count).
  int32_t InsertNode(int32_t parent = 0, const Text& name = {}, int32_t type = 0,
                     const Text& value = {}, int32_t position = 0,
                     const JsonNodeList* list = nullptr, bool relevel = false);
  // Sets every record's level to `level` (level + delta with a non-zero delta); returns the size.
  static int32_t SetLevels(JsonNodeList& list, int32_t level, int32_t delta = 0);
  // Renumbers the children of `parent` (the top level for parent <= 0) from fromOrdinal on and
  // sets its child count (or the top-level count) to their number.
  void RenumberChildren(int32_t parent, int32_t fromOrdinal);
  // The indices of the nodes of `level` after `start` without leaving its parent: started at a
  // node, its children.
  void ListAtLevel(int32_t level, std::vector<int32_t>& positions, int32_t start = 0) const;
  // Index of the n-th node of `level` after `start` without leaving its parent; -1 when none.
  int32_t FindNthAtLevel(int32_t level, int32_t n, int32_t start = 0) const;
  // Index of the parent; 0 for a top-level node; -1 when out of range or not found.
  int32_t GetParent(int32_t node) const;
  // As GetParent; for an index outside the list `level` is taken as its level and the walk
  // starts one position before the index; -1 when the walk leaves the list.
  int32_t GetParentAtLevel(int32_t node, int32_t level = 0) const;
  // Removes the node and its descendants; with keepChildren (and a previous sibling) only the
  // node, its children becoming the previous sibling's last children. False when out of range.
  bool RemoveNode(int32_t node, bool keepChildren = false);
  bool SetName(int32_t node, const Text& name);
  bool SetType(int32_t node, int32_t type);
  bool SetValue(int32_t node, const Text& value);
  // Copies of all records in order; returns their number.
  int32_t GetNodes(JsonNodeList& out) const;

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
  int32_t topLevelCount() const { return topLevelCount_; }

  // A copy of the record at a valid index.
  JsonNode node(int32_t index) const;
  // The name and value of a node without copying them; empty when out of range. Valid until the
  // tree changes.
  std::string_view nameView(int32_t node) const;
  std::string_view valueView(int32_t node) const;

  void setProcessEvents(const ProcessEventsHook* hook) { processEvents_ = hook; }

  // Appends a child of `parent` whose subtree is known to run to the end of the list, as it does
  // for every node while a document is being loaded in order. Same result as InsertNode, without
  // searching for the subtree's end.
  int32_t AppendToLastSubtree(int32_t parent, std::string_view name, int32_t type,
                              std::string_view value);

  // Loading in bulk: a text is stored once and nodes name pieces of it.
  // The store holds at most 4 GiB (a larger one throws std::length_error, as a string would).
  struct TextRef {
    uint32_t offset = 0;
    uint32_t length = 0;
  };
  TextRef storeText(std::string_view text);
  // Stores what `write` appends to the store (handed to it as a Text&).
  template <typename Write>
  TextRef storeWritten(Write&& write) {
    const std::size_t offset = texts_.size();
    write(texts_);
    return refTo(offset, texts_.size() - offset);
  }
  // A stored text; valid until the next store.
  std::string_view storedText(TextRef ref) const { return view(ref); }
  int32_t AppendToLastSubtree(int32_t parent, TextRef name, int32_t type, TextRef value);
  // Points a node's value at another stored text.
  void setStoredValue(int32_t node, TextRef value) { at(node).value = value; }
  // Room for `nodes` records and `textBytes` bytes of stored text.
  void reserve(std::size_t nodes, std::size_t textBytes);
  // Hands over, for a list appended by the rules, where each node's subtree ends (0-based index
  // of the node after it), so that lookups need no walk of their own.
  void adoptSubtreeEnds(std::vector<int32_t> ends);

 private:
  struct Record {
    TextRef name;
    TextRef value;
    int32_t type = 0;
    int32_t level = 0;
    int32_t childCount = 0;
    int32_t ordinal = 0;
  };
  bool valid(int32_t node) const { return node >= 1 && node <= GetNodeCount(); }
  Record& at(int32_t index) { return nodes_[static_cast<std::size_t>(index - 1)]; }
  const Record& rec(int32_t index) const { return nodes_[static_cast<std::size_t>(index - 1)]; }
  std::string_view view(TextRef ref) const {
    return std::string_view(texts_).substr(ref.offset, ref.length);
  }
  Record stored(const JsonNode& node);
  // The reference to stored bytes [offset, offset + length); throws when beyond 4 GiB.
  TextRef refTo(std::size_t offset, std::size_t length);
  // Inserts the records so that the first lands at `index`.
  void insertRecords(int32_t index, const JsonNodeList& records);
  void changed() { indexValid_ = false; }
  void pumpEvents() const {
    if (processEvents_ != nullptr && *processEvents_) (*processEvents_)();
  }
  // Walks the nodes of `level` after `start` without leaving its parent, hopping over deeper
  // nodes by their child counts, and returns the first index for which `stop` holds (-1: none).
  template <typename Stop>
  int32_t walkLevel(int32_t level, int32_t start, Stop stop) const;
  // Builds the lookup index when the list changed since; false when the list breaks the rules
  // (a caller's node list with its own levels), in which case lookups walk the list instead.
  bool index() const;

  // The children of one node (or of the top level) by name: an open-addressing table of first
  // children, built once lookups there have hopped enough.
  struct ChildSlot {
    uint32_t hash = 0;   // high half of the name's hash
    int32_t index = -1;  // 0-based node index; -1: empty
  };
  struct ChildTable {
    int64_t hops = 0;  // siblings looked at by lookups under this node
    std::vector<ChildSlot> slots;
  };
  static uint64_t nameHash(std::string_view name);
  void buildChildTable(int32_t parent, ChildTable& table) const;
  int32_t findInTable(const ChildTable& table, std::string_view name) const;

  std::vector<Record> nodes_;
  std::string texts_;  // the text store
  int32_t topLevelCount_ = 0;
  const ProcessEventsHook* processEvents_ = nullptr;
  // Lookup index: the end (0-based) of each node's subtree, and the child tables of the nodes
  // (1-based, 0 for the top level) that lookups have visited since it was built.
  mutable std::vector<int32_t> subtreeEnds_;
  mutable std::unordered_map<int32_t, ChildTable> childTables_;
  mutable bool indexValid_ = false;
  mutable bool indexUsable_ = false;
};

}  // namespace vellox
