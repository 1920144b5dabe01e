#include "json/json_document.h"

#include <stdexcept>

#include "json/json_direct_load.h"
#include "pattern/cleanup.h"
#include "text/gbk_literal.h"

namespace vellox {

JsonDocument::JsonDocument() { wireHooks(); }

JsonDocument::JsonDocument(const JsonDocument& other)
    : standardPaths_(other.standardPaths_),
      tree_(other.tree_),
      scanner_(other.scanner_),
      processEvents_(other.processEvents_) {
  wireHooks();
}

JsonDocument& JsonDocument::operator=(const JsonDocument& other) {
  standardPaths_ = other.standardPaths_;
  tree_ = other.tree_;
  scanner_ = other.scanner_;
  processEvents_ = other.processEvents_;
  wireHooks();
  return *this;
}

void JsonDocument::wireHooks() {
  tree_.setProcessEvents(&processEvents_);
  scanner_.setProcessEvents(&processEvents_);
}

void JsonDocument::setProcessEvents(ProcessEventsHook hook) { processEvents_ = std::move(hook); }

void JsonDocument::Load(const Text& json, int32_t standardPaths) {
  standardPaths_ = standardPaths != 0 ? 1 : 0;
  tree_.Clear();
  if (detail::loadDirect(json, standardPaths_, tree_, processEvents_)) return;
  // Cut level by level. Each level's values are copied into the tree's store; should they pass
  // its 4 GiB (huge, deeply nested text), the nodes made so far stay, as for truncated text.
  try {
    std::vector<JsonMember> members;
    std::vector<Text> elements;
    int32_t kind = 0;
    scanner_.SplitTop(json, &members, &elements, &kind);
    if (kind == 2) {
      const int32_t root = tree_.AppendToLastSubtree(0, "JSON", 2, json);
      addElements(std::move(elements), root);
    } else {
      const int32_t root = tree_.AppendToLastSubtree(0, "JSON", 1, json);
      addMembers(std::move(members), root);
    }
  } catch (const std::length_error&) {
  }
}

// One member or element: split it first when it is an object or array (so the sub-list is
// complete before the scanner is reused), then add its node and its children. Every node is
// added while its parent's subtree is the tail of the list, so it is appended at the end.
void JsonDocument::addValue(int32_t parent, Text name, Text value) {
  const int kind = JsonScanner::KindOf(value);
  const bool descend = kind != 0 && tree_.GetLevel(parent) + 1 < kMaxJsonDepth;
  if (kind == 1 && descend) {
    std::vector<JsonMember> members;
    // The value is a trimmed piece of the scanner's own compacted text.
    scanner_.SetCompactedPiece(value);
    scanner_.SplitObject({}, false, members);
    const int32_t node = tree_.AppendToLastSubtree(parent, std::move(name), 1, std::move(value));
    addMembers(std::move(members), node);
  } else if (kind == 2 && descend) {
    std::vector<Text> elements;
    scanner_.SetCompactedPiece(value);
    scanner_.SplitArray({}, false, elements);
    const int32_t node = tree_.AppendToLastSubtree(parent, std::move(name), 2, std::move(value));
    addElements(std::move(elements), node);
  } else {
    tree_.AppendToLastSubtree(parent, std::move(name), kind, std::move(value));
  }
}

void JsonDocument::AddObjectMembers(const std::vector<JsonMember>& members, int32_t parent) {
  addMembers(std::vector<JsonMember>(members), parent);
}

void JsonDocument::AddArrayElements(const std::vector<Text>& elements, int32_t parent) {
  addElements(std::vector<Text>(elements), parent);
}

void JsonDocument::addMembers(std::vector<JsonMember>&& members, int32_t parent) {
  for (JsonMember& member : members) {
    addValue(parent, std::move(member.key), std::move(member.value));
    if (processEvents_) processEvents_();
  }
}

void JsonDocument::addElements(std::vector<Text>&& elements, int32_t parent) {
  for (std::size_t i = 1; i <= elements.size(); ++i) {
    addValue(parent, "[" + intToText(static_cast<int64_t>(i) - standardPaths_) + "]",
             std::move(elements[i - 1]));
  }
}

Text JsonDocument::GetText(const Text& rawPath, int32_t fromNode) {
  const Text path = standardPaths_ == 1 ? JsonScanner::NormalizePath(rawPath, 1) : rawPath;
  if (path.empty()) return JsonScanner::Compact(tree_.GetValue(1));
  const int32_t count = scanner_.SplitPath(path);
  if (count == 0) return JsonScanner::Compact(tree_.GetValue(1));
  const std::vector<Text>& segments = scanner_.pathSegments();
  int32_t pos = 1;
  int32_t skip = 0;
  if (fromNode >= 1) {
    pos = fromNode;
    skip = tree_.GetLevel(fromNode);
  }
  for (int32_t i = 1; i <= count; ++i) {
    if (skip != 0 && i < skip) continue;
    pos = tree_.FindByName(i + 1, segments[static_cast<std::size_t>(i - 1)], pos);
    if (pos == -1) return {};
  }
  if (fromNode >= 1 && pos == fromNode) return {};
  return CleanValue(tree_.valueView(pos));
}

int32_t JsonDocument::GetMemberCount(const Text& path, int32_t* node) {
  const int32_t count = path.empty() ? 0 : scanner_.SplitPath(path);
  if (count == 0) return tree_.GetChildCount(1);
  const std::vector<Text>& segments = scanner_.pathSegments();
  int32_t pos = 1;
  for (int32_t i = 1; i <= count; ++i) {
    pos = tree_.FindByName(i + 1, segments[static_cast<std::size_t>(i - 1)], pos);
    if (pos == -1) return 0;
  }
  if (node != nullptr) *node = pos;
  return tree_.GetChildCount(pos);
}

void JsonDocument::SetValue(const Text& rawPath, const Text& value, int32_t type) {
  const Text path = standardPaths_ == 1 ? JsonScanner::NormalizePath(rawPath, 1) : rawPath;
  const int32_t count = path.empty() ? 0 : scanner_.SplitPath(path);
  const std::vector<Text> segments = count == 0 ? std::vector<Text>() : scanner_.pathSegments();
  int32_t node = 1;
  for (int32_t i = 1; i <= count; ++i) {
    const int32_t found = tree_.FindByName(i + 1, segments[static_cast<std::size_t>(i - 1)], node);
    if (found != -1) {
      node = found;
      continue;
    }
    for (int32_t j = i; j <= count; ++j) {
      node = tree_.InsertNode(node, segments[static_cast<std::size_t>(j - 1)]);
    }
    break;
  }
  tree_.SetType(node, type);
  tree_.SetValue(node, value);
}

Text JsonDocument::Capitalize(const Text& text) {
  Text out = text;
  for (std::size_t p = 0; p < out.size();) {
    const std::size_t len = charLength(out, p);
    if (len == 1) {
      char& c = out[p];
      if (p == 0 && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
      if (p != 0 && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    p += len;
  }
  return out;
}

Text JsonDocument::CleanValue(std::string_view value) {
  const auto piece = stripQuotesInPlace(value);
  Text clean = piece ? Text(*piece) : JsonScanner::StripQuotes(value);
  if (clean.find("''") == Text::npos) return clean;
  return JsonScanner::RestoreEscapedQuotes(clean);
}

Text JsonDocument::GetNodePath(int32_t node) const {
  Text path;
  for (int32_t parent = tree_.GetParent(node); parent > 0; parent = tree_.GetParent(node)) {
    Text name = tree_.GetName(node);
    if (findText(name, ".", 1, false) != -1) name = "\"" + name + "\"";
    path = path.empty() ? name : name + "." + path;
    node = parent;
  }
  return path;
}

}  // namespace vellox
