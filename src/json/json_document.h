// JsonDocument: loads JSON text into a node tree and answers queries by dotted path.
//
// Values are never converted: numbers, true, false and null stay text, strings keep their quotes
// and escapes in the tree until a query cleans them. There is no validation and no error report:
// whatever the scanner can cut out becomes nodes, the rest is dropped, and unbalanced or
// truncated text gives a partial tree. Nesting deeper than kMaxJsonDepth levels is not descended
// into: such a node keeps its raw value but gets no children.
//
// Paths: segments separated by "."; an array element is "[1]", "[2]"... (or "[0]", "[1]"...
// when loaded with standardPaths, which also accepts the bracket form a[0].b); a segment in
// double quotes (or '' pairs) may contain dots; names compare as exact bytes. The empty path is
// the whole document.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "json/json_node_tree.h"
#include "json/json_scanner.h"

namespace vellox {

inline constexpr int32_t kMaxJsonDepth = 256;

class JsonDocument {
 public:
  JsonDocument();
  JsonDocument(const JsonDocument& other);
  JsonDocument& operator=(const JsonDocument& other);

  // Replaces the tree with the nodes of `json`; the root (index 1) is named "JSON" and holds the
  // text exactly as given.
  void Load(const Text& json, int32_t standardPaths = 0);
  // Steps of Load: add the members or elements below `parent` (recursively).
  void AddObjectMembers(const std::vector<JsonMember>& members, int32_t parent);
  void AddArrayElements(const std::vector<Text>& elements, int32_t parent);

  // A copy of the node tree.
  JsonNodeTree GetNodeTree() const { return tree_; }
  const JsonNodeTree& tree() const { return tree_; }

  // The cleaned value at `path` ("" when no node is there). With fromNode >= 1 the path is still
  // written from the root, but its first level(fromNode) - 1 segments are taken as leading to
  // fromNode and the search continues below it.
  Text GetText(const Text& path, int32_t fromNode = 0);
  // Number of members or elements under the node at `path` (written in the dotted form); 0 when
  // no node is there. `node` receives the node's index when found.
  int32_t GetMemberCount(const Text& path, int32_t* node = nullptr);
  // A string's quotes and edge blanks removed, escaped quotes restored; other values as they are.
  static Text CleanValue(std::string_view value);
  // The path of a node, as GetText takes it back.
  Text GetNodePath(int32_t node) const;

  // Finds the node at `path`, creating the missing nodes (scalars with an empty value), then
  // sets its type and value. The values of its ancestors are not rewritten. The empty path is
  // the root.
  void SetValue(const Text& path, const Text& value, int32_t type);
  // First byte upper-cased, the rest lower-cased; only single-byte ASCII letters change.
  static Text Capitalize(const Text& text);
  // The tree itself, for editing.
  JsonNodeTree& editableTree() { return tree_; }

  int32_t standardPaths() const { return standardPaths_; }

  // Host hook called inside long loops (to keep a window responsive); empty by default.
  void setProcessEvents(ProcessEventsHook hook);

 private:
  void addValue(int32_t parent, Text name, Text value);
  void addMembers(std::vector<JsonMember>&& members, int32_t parent);
  void addElements(std::vector<Text>&& elements, int32_t parent);
  void wireHooks();

  int32_t standardPaths_ = 0;
  JsonNodeTree tree_;
  JsonScanner scanner_;
  ProcessEventsHook processEvents_;
};

}  // namespace vellox
