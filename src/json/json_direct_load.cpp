#include "json/json_direct_load.h"

#include <array>
#include <cstring>
#include <vector>

#include "pattern/cleanup.h"

namespace vellox::detail {

namespace {

// Bytes that end a stretch of key or scalar text: the structural characters and the quote that
// opens a string (whose inside is stepped over).
constexpr std::array<bool, 256> kStops = [] {
  std::array<bool, 256> t{};
  for (const unsigned char c : std::string_view("\"{}[],:")) t[c] = true;
  return t;
}();

int32_t kindOf(char c) { return c == '{' ? 1 : c == '[' ? 2 : 0; }

// One future node: where its key (or its place in the array) and its value lie in the text.
struct Item {
  int32_t parent;        // item index; -1 for the root
  int32_t kind;          // 0 scalar, 1 object, 2 array
  int32_t keyStart;      // a member's raw key is [keyStart, keyEnd); -1 for an element
  int32_t keyEnd;
  int32_t element;       // an element's 1-based position
  int32_t valueStart;    // the value is [valueStart, valueEnd)
  int32_t valueEnd;
};

// An object or array whose end has not been reached yet.
struct Open {
  int32_t item;
  int32_t kind;
  int32_t children;
};

class Walker {
 public:
  explicit Walker(std::string_view text) : p_(text), n_(static_cast<int32_t>(text.size())) {}

  // Walks the whole text; false as soon as it is not plainly nested JSON.
  bool run(std::vector<Item>& items);

 private:
  // First stop byte outside strings at or after i; -1 at the end of the text or when a string
  // is not closed.
  int32_t stopAfter(int32_t i) const {
    while (i < n_) {
      const auto c = static_cast<unsigned char>(p_[static_cast<std::size_t>(i)]);
      if (!kStops[c]) {
        ++i;
        continue;
      }
      if (c != '"') return i;
      const void* close = std::memchr(p_.data() + i + 1, '"', static_cast<std::size_t>(n_ - i - 1));
      if (close == nullptr) return -1;
      i = static_cast<int32_t>(static_cast<const char*>(close) - p_.data()) + 1;
    }
    return -1;
  }
  char at(int32_t i) const { return i >= 0 && i < n_ ? p_[static_cast<std::size_t>(i)] : '\0'; }
  // A lone element of blanks: the array counts as empty.
  bool blank(const Item& item) const {
    const std::string_view v = p_.substr(static_cast<std::size_t>(item.valueStart),
                                         static_cast<std::size_t>(item.valueEnd - item.valueStart));
    return JsonScanner::Trim(v).empty();
  }

  std::string_view p_;
  int32_t n_;
};

bool Walker::run(std::vector<Item>& items) {
  const int32_t rootKind = kindOf(at(0));
  if (rootKind == 0) return false;
  items.push_back({-1, rootKind, -1, -1, 0, 0, n_});
  std::vector<Open> open{{0, rootKind, 0}};
  int32_t i = 1;  // where the next member or element starts
  auto openContainer = [&](Item item) {
    items.push_back(item);
    if (static_cast<int32_t>(open.size()) >= kDirectLoadMaxDepth) return false;
    open.push_back({static_cast<int32_t>(items.size()) - 1, item.kind, 0});
    i = item.valueStart + 1;
    return true;
  };
  for (;;) {
    Open& top = open.back();
    const auto parent = top.item;
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
        if (const int32_t kind = kindOf(at(v)); kind != 0) {
          if (!openContainer({parent, kind, i, colon, 0, v, -1})) return false;
          continue;
        }
        const int32_t end = stopAfter(v);
        if (at(end) != ',' && at(end) != '}') return false;
        items.push_back({parent, 0, i, colon, 0, v, end});
        if (at(end) == ',') {
          i = end + 1;
          continue;
        }
        closer = end;
      }
    } else {
      const int32_t element = ++top.children;
      if (const int32_t kind = kindOf(at(i)); kind != 0) {
        if (!openContainer({parent, kind, -1, -1, element, i, -1})) return false;
        continue;
      }
      const int32_t end = stopAfter(i);
      if (at(end) != ',' && at(end) != ']') return false;
      items.push_back({parent, 0, -1, -1, element, i, end});
      if (at(end) == ',') {
        i = end + 1;
        continue;
      }
      closer = end;
    }
    // Close containers for as long as a closer follows the one just met.
    for (;;) {
      const Open done = open.back();
      open.pop_back();
      if (done.kind == 2 && done.children == 1 && items.back().parent == done.item &&
          items.back().kind == 0 && blank(items.back())) {
        items.pop_back();
      }
      items[static_cast<std::size_t>(done.item)].valueEnd = closer + 1;
      if (open.empty()) return closer == n_ - 1;
      const char next = at(closer + 1);
      if (next == ',') {
        i = closer + 2;
        break;
      }
      if (next != (open.back().kind == 1 ? '}' : ']')) return false;
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

bool loadDirect(std::string_view prepared, const Text& original, int32_t standardPaths,
                JsonNodeTree& tree, const ProcessEventsHook& processEvents) {
  if (prepared.size() >= static_cast<std::size_t>(INT32_MAX)) return false;
  if (!preparedTextQualifies(prepared)) return false;
  std::vector<Item> items;
  if (!Walker(prepared).run(items)) return false;

  // The prepared text is stored once; names and values are pieces of it wherever the clean-up
  // leaves a piece (always for values, as the text has no line breaks; for every key without
  // white space in it).
  tree.Clear();
  tree.reserve(items.size(), prepared.size() + original.size() + 8 * items.size());
  const JsonNodeTree::TextRef text = tree.storeText(prepared);
  auto pieceRef = [&](std::string_view piece) {
    return JsonNodeTree::TextRef{text.offset + static_cast<std::size_t>(piece.data() - prepared.data()),
                                 piece.size()};
  };
  auto piece = [&](int32_t from, int32_t to) {
    return prepared.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
  };
  for (const Item& item : items) {
    if (item.parent < 0) {
      const JsonNodeTree::TextRef name = tree.storeText("JSON");
      tree.AppendToLastSubtree(0, name, item.kind, tree.storeText(original));
      continue;
    }
    JsonNodeTree::TextRef name;
    if (item.keyStart >= 0) {
      const std::string_view key = piece(item.keyStart, item.keyEnd);
      const auto stripped = stripQuotesInPlace(key);
      name = stripped ? pieceRef(*stripped) : tree.storeText(JsonScanner::StripQuotes(key));
    } else {
      name = tree.storeText("[" + intToText(int64_t{item.element} - standardPaths) + "]");
    }
    JsonNodeTree::TextRef value;
    const std::string_view raw = piece(item.valueStart, item.valueEnd);
    if (item.kind != 0) {
      value = pieceRef(raw);
    } else {
      const auto trimmed = trimBlanksInPlace(raw);
      value = trimmed ? pieceRef(*trimmed) : tree.storeText(JsonScanner::Trim(raw));
    }
    tree.AppendToLastSubtree(item.parent + 1, name, item.kind, value);
    if (item.keyStart >= 0 && processEvents) processEvents();
  }
  return true;
}

}  // namespace vellox::detail
