// The one-pass loader behind JsonDocument::Load.
//
// Cutting a text level by level (JsonScanner) re-reads every byte once per level of nesting and
// copies each object and array before splitting it. For text that is plainly nested JSON the
// result of that cutting is known in advance: every member ends at the comma or closing brace
// that follows its value, every element at the comma or closing bracket after it, and the pieces
// handed down to the next level are exact stretches of the prepared text, so the masking and
// compaction that each level would repeat change nothing. This loader walks the text once,
// appending nodes as it goes and checking that the text has that shape; the nodes' names and
// values are pieces of the prepared text in the tree's store. Whatever it declines (wrapped or
// truncated text, line breaks, unpaired quotes, stray structure, deep nesting) it leaves, with an
// empty tree, to the level-by-level cutting, which gives the same nodes for the text it accepts.
#pragma once

#include <cstdint>
#include <string_view>

#include "json/json_node_tree.h"
#include "json/json_scanner.h"
#include "text/text.h"

namespace vellox::detail {

// Nesting up to this depth is walked in one pass; deeper text is declined.
inline constexpr int32_t kDirectLoadMaxDepth = 200;

// Clears the tree and, when the text has the shape described above, fills it with the nodes of
// `json` (the root's value being `json` itself) and returns true; otherwise leaves the tree
// empty and returns false.
bool loadDirect(const Text& json, int32_t standardPaths, JsonNodeTree& tree,
                const ProcessEventsHook& processEvents);

}  // namespace vellox::detail
