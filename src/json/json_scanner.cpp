#include "json/json_scanner.h"

#include <algorithm>
#include <cstring>

#include "pattern/cleanup.h"
#include "pattern/regex.h"
#include "text/gbk_literal.h"

namespace vellox {

using namespace literals;

namespace {

// Slot of a structural character in the find memo.
constexpr std::size_t memoSlot(char c) {
  switch (c) {
    case '{': return 0;
    case '}': return 1;
    case '[': return 2;
    case ']': return 3;
    case '"': return 4;
    case ':': return 5;
    default: return 6;  // ','
  }
}

const Text& outOfRange() { return "超出"_gbk; }

// The three replacements that protect escaped quotes, done literally: "\\" -> "\|\|", then
// backslash + quote -> backslash + two apostrophes, then "\|\|" -> "\\".
Text protectLiterally(std::string_view text) {
  Text t = replaceAll(text, "\\\\", "\\|\\|", false);
  t = replaceAll(t, "\\\"", "\\''", false);
  return replaceAll(t, "\\|\\|", "\\\\", false);
}

// True when one of the bytes of `word` is "{", "}", "[", "]" or a double quote. (A byte of
// v = word ^ c...c is zero exactly where `word` holds c; the expression finds any zero byte.)
constexpr bool holdsStructure(uint64_t word) {
  constexpr uint64_t ones = 0x0101010101010101ULL;
  constexpr uint64_t highs = 0x8080808080808080ULL;
  auto hasByte = [](uint64_t w, unsigned char c) {
    const uint64_t v = w ^ (ones * c);
    return ((v - ones) & ~v & highs) != 0;
  };
  return hasByte(word, '{') || hasByte(word, '}') || hasByte(word, '[') || hasByte(word, ']') ||
         hasByte(word, '"');
}

}  // namespace

namespace {

// The quotes that escape protection rewrites in a text without bars: backslashes pair up from the
// left, and a quote right after an unpaired (odd) backslash is one. Only backslash bytes are
// looked at; a backslash byte that ends a double-byte character is none.
std::vector<std::size_t> escapedQuotes(std::string_view text) {
  std::vector<std::size_t> positions;
  CharBoundaries boundaries(text);
  const std::size_t n = text.size();
  for (std::size_t from = 0;;) {
    const void* hit = std::memchr(text.data() + from, '\\', n - from);
    if (hit == nullptr) return positions;
    const auto p = static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
    if (!boundaries.startsAt(p)) {
      from = p + 1;
      continue;
    }
    std::size_t q = p;
    while (q < n && text[q] == '\\') ++q;
    if ((q - p) % 2 == 1 && q < n && text[q] == '"') positions.push_back(q);
    boundaries.markStart(q);
    from = q;
  }
}

bool holdsByte(std::string_view text, char c) {
  return !text.empty() && std::memchr(text.data(), c, text.size()) != nullptr;
}

}  // namespace

Text protectEscapedQuotes(std::string_view text) {
  if (!holdsByte(text, '\\')) return Text(text);
  // With a "|" in the text the bars that the first replacement writes can combine with the
  // text's own bars in the third; only the literal replacements get that right.
  if (holdsByte(text, '|')) return protectLiterally(text);
  const std::vector<std::size_t> positions = escapedQuotes(text);
  Text out;
  out.reserve(text.size() + positions.size());
  std::size_t copyFrom = 0;
  for (const std::size_t q : positions) {
    out.append(text.substr(copyFrom, q - copyFrom));
    out += "''";
    copyFrom = q + 1;
  }
  out.append(text.substr(copyFrom));
  return out;
}

void appendPreparedText(std::string_view text, Text& out) {
  if (!holdsByte(text, '\\')) {
    appendCompacted(text, {}, out);
  } else if (holdsByte(text, '|')) {
    appendCompacted(protectLiterally(text), {}, out);
  } else {
    appendCompacted(text, escapedQuotes(text), out);
  }
}

Text JsonScanner::Compact(std::string_view text) { return compactBlanks(text); }
Text JsonScanner::StripQuotes(std::string_view text) { return stripQuotes(text); }
Text JsonScanner::Trim(std::string_view text) { return trimBlanks(text); }

Text JsonScanner::RestoreEscapedQuotes(std::string_view text) {
  if (text.find("''") == std::string_view::npos) return Text(text);
  return replaceAll(text, "\\''", "\\\"", false);
}

int JsonScanner::KindOf(std::string_view text) {
  if (text.empty()) return 0;
  return text[0] == '[' ? 2 : text[0] == '{' ? 1 : 0;
}

void JsonScanner::SetText(const Text& text) {
  Text prepared;
  appendPreparedText(text, prepared);
  loadBuffers(std::move(prepared));
}

void JsonScanner::SetCompactedPiece(Text piece) {
  // The piece was protected with the whole text; only a backslash that compaction moved next to
  // a quote can make protection change it again.
  if (piece.find("\\\"") != Text::npos) piece = protectEscapedQuotes(piece);
  loadBuffers(std::move(piece));
}

void JsonScanner::loadBuffers(std::string text) {
  plainText_ = std::move(text);
  maskedText_ = plainText_;
  memo_ = {};
  balance_ = {};
  // Blank the inside of every pair of quotes; an unpaired last quote leaves the rest as it is.
  char* masked = maskedText_.data();
  const std::size_t n = maskedText_.size();
  for (std::size_t from = 0;;) {
    const void* open = std::memchr(masked + from, '"', n - from);
    if (open == nullptr) break;
    const std::size_t o = static_cast<std::size_t>(static_cast<const char*>(open) - masked);
    const void* close = std::memchr(masked + o + 1, '"', n - o - 1);
    if (close == nullptr) break;
    const std::size_t q = static_cast<std::size_t>(static_cast<const char*>(close) - masked);
    std::memset(masked + o + 1, ' ', q - o - 1);
    from = q + 1;
  }
}

int32_t JsonScanner::find(char c, int32_t from) {
  if (from < 1) from = 1;
  FindMemo& memo = memo_[memoSlot(c)];
  if (memo.valid && from >= memo.from && (memo.result == -1 || from <= memo.result)) {
    return memo.result;
  }
  int32_t result = -1;
  const auto size = static_cast<int32_t>(maskedText_.size());
  if (from <= size) {
    const void* hit = std::memchr(maskedText_.data() + from - 1, c, size - from + 1);
    if (hit != nullptr) result = static_cast<int32_t>(static_cast<const char*>(hit) - maskedText_.data()) + 1;
  }
  memo = {from, result, true};
  return result;
}

std::string_view JsonScanner::spanView(int32_t from, int32_t to, bool inclusive) const {
  const int64_t start = inclusive ? int64_t{from} : int64_t{from} + 1;
  const int64_t last = inclusive ? int64_t{to} : int64_t{to} - 1;
  const int64_t first = std::max<int64_t>(start, 1);
  const int64_t end = std::min<int64_t>(last, static_cast<int64_t>(plainText_.size()));
  if (end < first) return {};
  return std::string_view(plainText_)
      .substr(static_cast<std::size_t>(first - 1), static_cast<std::size_t>(end - first + 1));
}

Text JsonScanner::GetSpan(int32_t from, int32_t to, bool inclusive) const {
  return Text(spanView(from, to, inclusive));
}

bool JsonScanner::IsBalanced(int32_t from, int32_t to) {
  if (from == -1 || to == -1) return false;
  pumpEvents();
  Balance& b = balance_;
  if (b.from != from || to < b.scanned) b = {from, from + 1, 0, 0, 0};
  const auto size = static_cast<int64_t>(maskedText_.size());
  const int64_t stop = std::min<int64_t>(to, size + 1);  // positions before `to`
  // Per byte: change of the brace count, of the bracket count, and whether it is a quote.
  static constexpr auto kDelta = [] {
    std::array<std::array<int8_t, 3>, 256> t{};
    t['{'][0] = 1, t['}'][0] = -1, t['['][1] = 1, t[']'][1] = -1, t['"'][2] = 1;
    return t;
  }();
  int64_t braces = b.braces, brackets = b.brackets, quotes = b.quotes;
  const auto* bytes = reinterpret_cast<const unsigned char*>(maskedText_.data());
  auto count = [&](int64_t at) {
    const auto& d = kDelta[bytes[at - 1]];
    braces += d[0];
    brackets += d[1];
    quotes += d[2];
  };
  int64_t p = std::max<int64_t>(b.scanned, 1);
  // Much of the masked text holds none of the five characters: skip such 8-byte words whole.
  for (; p + 8 <= stop; p += 8) {
    uint64_t word;
    std::memcpy(&word, bytes + p - 1, sizeof word);
    if (!holdsStructure(word)) continue;
    for (int64_t k = p; k < p + 8; ++k) count(k);
  }
  for (; p < stop; ++p) count(p);
  b.braces = braces, b.brackets = brackets, b.quotes = quotes;
  b.scanned = std::max(b.scanned, to);
  return b.braces == 0 && b.brackets == 0 && b.quotes % 2 == 0;
}

Text JsonScanner::ReadKey(int32_t pos, int32_t& next) {
  const auto size = static_cast<int32_t>(maskedText_.size());
  const char at = pos >= 1 && pos <= size ? maskedText_[static_cast<std::size_t>(pos - 1)] : '\0';
  if (at != '{' && at != ',') {
    const int32_t o = find('{', pos);
    if (o != -1 && o > pos) pos = o;
  }
  const int32_t b = find('"', pos);
  const int32_t c = find('"', b + 1);
  next = pos;
  do {
    next = find(':', next + 1);
  } while (!(next == -1 || next < b || next > c));
  if (next == -1) return outOfRange();
  return StripQuotes(spanView(pos, next));
}

Text JsonScanner::ReadValue(int32_t pos, int32_t& next) {
  next = valueEnd(pos);
  return next == -1 ? outOfRange() : GetSpan(pos, next);
}

int32_t JsonScanner::valueEnd(int32_t pos) {
  int32_t next = pos;
  int32_t mark = 0;
  const auto end = static_cast<int32_t>(maskedText_.size()) + 1;
  for (;;) {
    const int32_t ob = find('[', next + 1);
    const int32_t oc = find('{', next + 1);
    const int32_t cm = find(',', next + 1);
    const int32_t cl = find('}', next + 1);
    next = cm != -1 && (cm < cl || cl == -1) ? cm : cl != -1 ? cl : end;
    bool checkMark = true;
    if (ob != -1 && ob < next) {
      next = find(']', ob + 1);
      checkMark = next == -1;
    } else if (oc != -1 && oc < next) {
      next = find('}', oc + 1);
      checkMark = next == -1;
    }
    if (checkMark) {
      if (next == mark || next == -1 || next < mark) return -1;
      mark = next;
    }
    if (IsBalanced(pos, next)) return next;
  }
}

int32_t JsonScanner::SplitObject(const Text& text, bool prepare, std::vector<JsonMember>& members) {
  if (prepare) SetText(text);
  int32_t p = find('{', 1);
  members.clear();
  do {
    pumpEvents();
    Text key = ReadKey(p, p);
    if (p == -1) break;
    const int32_t colon = p;
    p = valueEnd(colon);
    if (p == -1) break;
    members.push_back({std::move(key), Trim(spanView(colon, p))});
  } while (p != -1);
  return static_cast<int32_t>(members.size());
}

int32_t JsonScanner::SplitArray(const Text& text, bool prepare, std::vector<Text>& elements) {
  if (prepare) SetText(text);
  elements.clear();
  int32_t b = find('[', 1);
  while (b != -1) {
    pumpEvents();
    int32_t c = b;
    do {
      const int32_t d = c + 1;
      c = find(',', d);
      if (c == -1) c = find(']', d);
      pumpEvents();
    } while (!(IsBalanced(b, c) || c == -1));
    if (c == -1) break;
    elements.push_back(Trim(spanView(b, c)));
    b = c;
  }
  if (elements.size() == 1 && elements[0].empty()) elements.clear();
  return static_cast<int32_t>(elements.size());
}

int32_t JsonScanner::SplitTop(const Text& text, std::vector<JsonMember>* members,
                              std::vector<Text>* elements, int32_t* kind) {
  std::vector<JsonMember> localMembers;
  std::vector<Text> localElements;
  if (members == nullptr) members = &localMembers;
  if (elements == nullptr) elements = &localElements;
  int32_t localKind = 0;
  if (kind == nullptr) kind = &localKind;
  for (int pass = 1; pass <= 2; ++pass) {
    SetText(pass == 1 ? text : "[" + text + "]");
    const int32_t o = find('{', 1);
    const int32_t a = find('[', 1);
    if (o == -1 && a == -1) continue;
    if (o == -1 || (a != -1 && a < o)) {
      *kind = 2;
      return SplitArray({}, false, *elements);
    }
    *kind = 1;
    return SplitObject({}, false, *members);
  }
  return 0;
}

int32_t JsonScanner::FindFirstStructure(std::string_view text, int32_t& pos) {
  const int32_t o = findText(text, "{", 1, false);
  const int32_t a = findText(text, "[", 1, false);
  const int32_t q = findText(text, "\"", 1, false);
  int32_t opener = -1;
  int32_t kind = 0;
  if (o != -1 && (a == -1 || o < a)) {
    opener = o, kind = 1;
  } else if (a != -1) {
    opener = a, kind = 2;
  }
  if (opener == -1 && q == -1) {
    pos = -1;
    return 0;
  }
  if (opener == -1 || (q != -1 && q < opener)) {
    pos = q;
    return 0;
  }
  pos = opener;
  return kind;
}

bool JsonScanner::IsOutsideString(int32_t from, int32_t to) {
  int64_t count = 0;
  for (int32_t q = find('"', from + 1); q != -1 && q < to; q = find('"', q + 1)) ++count;
  return count % 2 == 0;
}

void JsonScanner::keepSegment(std::size_t index, std::string_view raw) {
  // The strings of earlier paths are reused: a lookup per listing and field splits a path of the
  // same shape every time.
  if (pathSegments_.size() <= index) pathSegments_.resize(index + 1);
  Text& segment = pathSegments_[index];
  if (const auto piece = stripQuotesInPlace(raw)) {
    segment.assign(*piece);
  } else {
    segment = StripQuotes(raw);
  }
}

int32_t JsonScanner::SplitPath(const Text& rawPath) {
  std::size_t count = 0;
  if (rawPath.find('"') == Text::npos && rawPath.find('\'') == Text::npos) {
    // Without quotes every dot separates two segments ("." is never part of a double-byte
    // character, so a byte split is a character split).
    const std::string_view path = rawPath;
    std::size_t start = 0;
    for (std::size_t dot; (dot = path.find('.', start)) != Text::npos; start = dot + 1) {
      keepSegment(count++, path.substr(start, dot - start));
    }
    keepSegment(count++, path.substr(start));
    pathSegments_.resize(count);
    return static_cast<int32_t>(count);
  }
  const Text path = replaceAll(rawPath, "''", "\"", false);
  const auto length = static_cast<int32_t>(path.size());
  int32_t s = 0;
  int32_t d = 0;
  bool done = false;
  while (!done) {
    d = findText(path, ".", d + 1, false);
    if (d == -1) {
      d = length + 1;
      done = true;
    }
    const int32_t q1 = findText(path, "\"", s + 1, false);
    if (q1 != -1 && q1 < d && !done) {
      const int32_t q2 = findText(path, "\"", q1 + 1, false);
      // The dot lies inside a quoted segment: look at the next dot. (After the last dot an
      // unpaired quote would send this search round for ever; the rest is the last segment.)
      if (q2 == -1 || q2 > d) continue;
    }
    keepSegment(count++, std::string_view(path).substr(static_cast<std::size_t>(s),
                                                       static_cast<std::size_t>(d - s - 1)));
    s = d;
  }
  pathSegments_.resize(count);
  return static_cast<int32_t>(count);
}

int32_t JsonScanner::GetPathSegments(std::vector<Text>& out) const {
  out = pathSegments_;
  return static_cast<int32_t>(out.size());
}

Text JsonScanner::NormalizePath(const Text& path, int mode) {
  static const RegexObject toDotted = [] {
    RegexObject r;
    r.Create("([^\\.])(\\[\\d+\\])(\\.?)");
    return r;
  }();
  static const RegexObject toBrackets = [] {
    RegexObject r;
    r.Create("\\.(\\[\\d+\\])");
    return r;
  }();
  if (mode == 1) return toDotted.Replace(path, "$1.$2$3");
  if (mode == 0) return toBrackets.Replace(path, "$1");
  return {};
}

Text JsonScanner::QueryText(const Text& json, const Text& path, bool standardPaths) {
  if (path.empty() || SplitPath(path) == 0) return Compact(json);
  queryStandardPaths_ = standardPaths ? 1 : 0;
  querySegment_ = 1;
  queryResult_.clear();
  std::vector<JsonMember> members;
  std::vector<Text> elements;
  int32_t kind = 0;
  SplitTop(json, &members, &elements, &kind);
  if (kind == 2) {
    QueryArray(elements);
  } else {
    QueryObject(members);
  }
  return RestoreEscapedQuotes(StripQuotes(queryResult_));
}

namespace {
// Deeper descents are not followed, so hostile nesting cannot exhaust the stack.
constexpr int32_t kMaxQueryDepth = 256;
}  // namespace

bool JsonScanner::QueryArray(const std::vector<Text>& elements) {
  const auto segments = static_cast<int32_t>(pathSegments_.size());
  if (querySegment_ < 1 || querySegment_ > segments) return true;
  const Text& segment = pathSegments_[static_cast<std::size_t>(querySegment_ - 1)];
  for (std::size_t i = 1; i <= elements.size(); ++i) {
    if (segment != "[" + intToText(static_cast<int64_t>(i) - queryStandardPaths_) + "]") continue;
    const Text& element = elements[i - 1];
    if (querySegment_ == segments) {
      queryResult_ = element;
      return true;
    }
    if (++querySegment_ > kMaxQueryDepth) return true;
    const int kind = KindOf(element);
    if (kind == 1) {
      std::vector<JsonMember> members;
      SplitObject(element, true, members);
      QueryObject(members);
    } else if (kind == 2) {
      std::vector<Text> inner;
      SplitArray(element, true, inner);
      QueryArray(inner);
    }
    return true;
  }
  return true;
}

bool JsonScanner::QueryObject(const std::vector<JsonMember>& members) {
  const auto segments = static_cast<int32_t>(pathSegments_.size());
  if (querySegment_ < 1 || querySegment_ > segments) return true;
  const Text& segment = pathSegments_[static_cast<std::size_t>(querySegment_ - 1)];
  for (const JsonMember& member : members) {
    if (member.key != segment) continue;
    if (querySegment_ == segments) {
      queryResult_ = member.value;
      return true;
    }
    if (++querySegment_ > kMaxQueryDepth) return true;
    const int kind = KindOf(member.value);
    if (kind == 1) {
      std::vector<JsonMember> inner;
      SplitObject(member.value, true, inner);
      QueryObject(inner);
    } else if (kind == 2) {
      std::vector<Text> elements;
      SplitArray(member.value, true, elements);
      QueryArray(elements);
    }
    pumpEvents();
    return true;
  }
  return true;
}

}  // namespace vellox
