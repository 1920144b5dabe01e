#include "json/json_direct_load.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "pattern/cleanup.h"

namespace vellox::detail {

namespace {

using TextRef = JsonNodeTree::TextRef;

// Bytes that end a stretch of key or scalar text: the structural characters and the quote that
// opens a string (whose inside is stepped over).
constexpr std::array<bool, 256> kStops = [] {
  std::array<bool, 256> t{};
  for (const unsigned char c : std::string_view("\"{}[],:")) t[c] = true;
  return t;
}();

// The first quote at or after `from`; -1 when none. Most strings are short: eight bytes at a
// time, which costs less than a library call per string.
int32_t closingQuote(std::string_view p, int32_t from) {
  constexpr uint64_t ones = 0x0101010101010101ULL;
  constexpr uint64_t highs = 0x8080808080808080ULL;
  const auto n = static_cast<int32_t>(p.size());
  int32_t i = from;
  for (; i + 8 <= n; i += 8) {
    uint64_t word;
    std::memcpy(&word, p.data() + i, sizeof word);
    const uint64_t x = word ^ (ones * '"');
    if (((x - ones) & ~x & highs) != 0) break;
  }
  for (; i < n; ++i) {
    if (p[static_cast<std::size_t>(i)] == '"') return i;
  }
  return -1;
}

int32_t kindOf(char c) { return c == '{' ? 1 : c == '[' ? 2 : 0; }

// Walks the prepared text once and appends a node for every member and element below the root,
// checking on the way that the text has the shape for which this gives the level-by-level
// result. Positions are offsets into the prepared text, which lies in the tree's text store; the
// store can move when a name is stored, so views of it are taken afresh.
class Builder {
 public:
  Builder(JsonNodeTree& tree, TextRef text, int32_t standardPaths,
          const ProcessEventsHook& processEvents)
      : tree_(tree),
        text_(text),
        n_(static_cast<int32_t>(text.length)),
        standardPaths_(standardPaths),
        processEvents_(processEvents) {}

  // Adds the nodes below the root (node 1, of the kind of the text's first byte); false as soon
  // as the text is not plainly nested JSON.
  bool run();
  // Where each node's subtree ends (0-based index of the node after it), known once run() has
  // succeeded.
  std::vector<int32_t>& subtreeEnds() { return ends_; }

 private:
  // An object or array whose end has not been reached yet.
  struct Open {
    int32_t node;
    int32_t kind;
    int32_t children;
    int32_t start;  // offset of its opening brace or bracket
  };

  std::string_view text() const { return tree_.storedText(text_); }
  char at(int32_t i) const { return i >= 0 && i < n_ ? text()[static_cast<std::size_t>(i)] : '\0'; }
  TextRef piece(int32_t from, int32_t to) const {
    return {text_.offset + static_cast<uint32_t>(from), static_cast<uint32_t>(to - from)};
  }
  TextRef pieceOf(std::string_view slice) const {
    return {text_.offset + static_cast<uint32_t>(slice.data() - text().data()),
            static_cast<uint32_t>(slice.size())};
  }
  // First stop byte outside strings at or after i; -1 at the end of the text or when a string
  // is not closed.
  int32_t stopAfter(int32_t i) const;
  TextRef keyName(int32_t from, int32_t to);
  TextRef elementName(int32_t element);
  TextRef scalarValue(int32_t from, int32_t to);
  // Opens an object or array that starts at `start`; false when nesting gets too deep.
  bool open(int32_t parent, TextRef name, int32_t kind, int32_t start);
  // Appends a node whose subtree, for now, is itself.
  int32_t append(int32_t parent, TextRef name, int32_t kind, TextRef value) {
    const int32_t node = tree_.AppendToLastSubtree(parent, name, kind, value);
    ends_.push_back(node);
    return node;
  }

  JsonNodeTree& tree_;
  TextRef text_;
  int32_t n_;
  int32_t standardPaths_;
  const ProcessEventsHook& processEvents_;
  std::vector<Open> open_;
  std::vector<int32_t> ends_;
};

int32_t Builder::stopAfter(int32_t i) const {
  const std::string_view p = text();
  while (i < n_) {
    const auto c = static_cast<unsigned char>(p[static_cast<std::size_t>(i)]);
    if (!kStops[c]) {
      ++i;
      continue;
    }
    if (c != '"') return i;
    i = closingQuote(p, i + 1);
    if (i < 0) return -1;
    ++i;
  }
  return -1;
}

// A key without white space loses only its edge quotes, leaving a piece of the text.
TextRef Builder::keyName(int32_t from, int32_t to) {
  const std::string_view key = text().substr(static_cast<std::size_t>(from),
                                             static_cast<std::size_t>(to - from));
  if (const auto stripped = stripQuotesInPlace(key)) return pieceOf(*stripped);
  return tree_.storeText(JsonScanner::StripQuotes(key));
}

TextRef Builder::elementName(int32_t element) {
  return tree_.storeText("[" + intToText(int64_t{element} - standardPaths_) + "]");
}

// The text has no line breaks, so trimming leaves a piece of it.
TextRef Builder::scalarValue(int32_t from, int32_t to) {
  return pieceOf(trimLineBlanks(text().substr(static_cast<std::size_t>(from),
                                              static_cast<std::size_t>(to - from))));
}

bool Builder::open(int32_t parent, TextRef name, int32_t kind, int32_t start) {
  if (static_cast<int32_t>(open_.size()) >= kDirectLoadMaxDepth) return false;
  // The value is set when the end is found.
  const int32_t node = append(parent, name, kind, piece(start, start));
  open_.push_back({node, kind, 0, start});
  return true;
}

bool Builder::run() {
  open_.push_back({1, kindOf(at(0)), 0, 0});
  ends_.push_back(1);
  int32_t i = 1;  // where the next member or element starts
  for (;;) {
    Open& top = open_.back();
    const int32_t parent = top.node;
    int32_t closer = -1;  // the closing brace or bracket of `top`, once met
    if (top.kind == 1) {
      // A key up to its colon, then the value; a closing brace where a key would be ends the
      // object (whatever key text came before it is dropped).
      const int32_t colon = stopAfter(i);
      if (colon < 0) return false;
      if (at(colon) == '}') {
        closer = colon;
      } else {
        if (at(colon) != ':') return false;
        const int32_t v = colon + 1;
        ++top.children;
        const TextRef name = keyName(i, colon);
        if (processEvents_) processEvents_();
        if (const int32_t kind = kindOf(at(v)); kind != 0) {
          if (!open(parent, name, kind, v)) return false;
          i = v + 1;
          continue;
        }
        const int32_t end = stopAfter(v);
        if (at(end) != ',' && at(end) != '}') return false;
        append(parent, name, 0, scalarValue(v, end));
        if (at(end) == ',') {
          i = end + 1;
          continue;
        }
        closer = end;
      }
    } else {
      const int32_t element = ++top.children;
      if (const int32_t kind = kindOf(at(i)); kind != 0) {
        if (!open(parent, elementName(element), kind, i)) return false;
        ++i;
        continue;
      }
      const int32_t end = stopAfter(i);
      if (at(end) != ',' && at(end) != ']') return false;
      append(parent, elementName(element), 0, scalarValue(i, end));
      if (at(end) == ',') {
        i = end + 1;
        continue;
      }
      closer = end;
    }
    // Close containers for as long as a closer follows the one just met.
    for (;;) {
      const Open done = open_.back();
      open_.pop_back();
      // A lone element of blanks: the array counts as empty.
      const int32_t last = tree_.GetNodeCount();
      if (done.kind == 2 && done.children == 1 && last == done.node + 1 &&
          tree_.GetType(last) == 0 && tree_.valueView(last).empty()) {
        tree_.RemoveNode(last);
        ends_.pop_back();
      }
      ends_[static_cast<std::size_t>(done.node - 1)] = tree_.GetNodeCount();
      if (done.node != 1) tree_.setStoredValue(done.node, piece(done.start, closer + 1));
      if (open_.empty()) return closer == n_ - 1;
      const char next = at(closer + 1);
      if (next == ',') {
        i = closer + 2;
        break;
      }
      if (next != (open_.back().kind == 1 ? '}' : ']')) return false;
      ++closer;
    }
  }
}

// Line breaks make the blank trimming of a value act inside it; a backslash right before a
// quote or a bar is changed again when a piece is protected once more.
bool preparedTextQualifies(std::string_view p) {
  if (std::memchr(p.data(), '\n', p.size()) != nullptr) return false;
  if (std::memchr(p.data(), '\r', p.size()) != nullptr) return false;
  for (std::size_t from = 0;;) {
    const void* hit = std::memchr(p.data() + from, '\\', p.size() - from);
    if (hit == nullptr) return true;
    const auto at = static_cast<std::size_t>(static_cast<const char*>(hit) - p.data());
    if (at + 1 < p.size() && (p[at + 1] == '"' || p[at + 1] == '|')) return false;
    from = at + 1;
  }
}

}  // namespace

bool loadDirect(const Text& json, int32_t standardPaths, JsonNodeTree& tree,
                const ProcessEventsHook& processEvents) {
  if (json.size() >= static_cast<std::size_t>(INT32_MAX) / 2) return false;
  tree.Clear();
  // Room for the text, its prepared form and the names of elements; and for a node per
  // 32 bytes, about what a page of listings holds.
  tree.reserve(std::min<std::size_t>(json.size() / 32 + 8, 1 << 16), 2 * json.size() + 1024);
  const TextRef original = tree.storeText(json);
  const TextRef prepared = tree.storeWritten([&](Text& out) { appendPreparedText(json, out); });
  const int32_t kind = prepared.length == 0 ? 0 : kindOf(tree.storedText(prepared).front());
  if (kind == 0 || !preparedTextQualifies(tree.storedText(prepared))) {
    tree.Clear();
    return false;
  }
  tree.AppendToLastSubtree(0, tree.storeText("JSON"), kind, original);
  Builder builder(tree, prepared, standardPaths, processEvents);
  if (!builder.run()) {
    tree.Clear();
    return false;
  }
  tree.adoptSubtreeEnds(std::move(builder.subtreeEnds()));
  return true;
}

}  // namespace vellox::detail
