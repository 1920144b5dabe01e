// The loading algorithm transcribed step by step, without the shortcuts of the library: literal
// escape replacements, every piece compacted again, searches from scratch, balance counted from
// the start of the value for every candidate, and every node inserted after a search for its
// parent's subtree end. Slow on purpose; tests compare the library against it.
//
// The clean-up operations are the hand-written ones, which the pattern tests prove equal to the
// compiled patterns on valid text: the structural searches cut at bytes, so a piece can end
// inside a double-byte character, and only the hand-written operations keep such bytes as they
// are (the patterns' round trip through Unicode would turn them into "?").
#pragma once

#include <cstdint>
#include <vector>

#include "json/json_node_tree.h"
#include "json/json_scanner.h"

namespace vellox::reference {

class Scanner {
 public:
  void SetText(const Text& text);
  int32_t find(char c, int32_t from) const;
  Text GetSpan(int32_t from, int32_t to) const;
  bool IsBalanced(int32_t from, int32_t to) const;
  Text ReadKey(int32_t pos, int32_t& next) const;
  Text ReadValue(int32_t pos, int32_t& next) const;
  int32_t SplitObject(const Text& text, bool prepare, std::vector<JsonMember>& members);
  int32_t SplitArray(const Text& text, bool prepare, std::vector<Text>& elements);
  int32_t SplitTop(const Text& text, std::vector<JsonMember>& members, std::vector<Text>& elements,
                   int32_t& kind);
  const std::string& plainText() const { return plain_; }
  const std::string& maskedText() const { return masked_; }

 private:
  std::string plain_;
  std::string masked_;
};

// The node tree that loading `json` gives.
JsonNodeTree load(const Text& json, int32_t standardPaths = 0);

}  // namespace vellox::reference
