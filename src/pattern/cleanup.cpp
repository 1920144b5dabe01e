#include "pattern/cleanup.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "text/gbk_literal.h"

namespace vellox {

using namespace literals;

namespace {

// Character classes of the patterns, for the character at byte `p` (a character boundary).
// Only ASCII characters and the full-width space (A1 A1) belong to any of them.
bool isFullWidthSpace(std::string_view s, std::size_t p) {
  return s[p] == '\xA1' && charLength(s, p) == 2 && s[p + 1] == '\xA1';
}

// \s plus the full-width space.
bool isWhite(std::string_view s, std::size_t p) {
  switch (s[p]) {
    case ' ': case '\t': case '\n': case '\v': case '\f': case '\r': return true;
    default: return isFullWidthSpace(s, p);
  }
}

// Space, full-width space, tab.
bool isBlank(std::string_view s, std::size_t p) {
  return s[p] == ' ' || s[p] == '\t' || isFullWidthSpace(s, p);
}

// Blank or double quote: what strip removes at line ends.
bool isBlankOrQuote(std::string_view s, std::size_t p) { return s[p] == '"' || isBlank(s, p); }

// Multi-line anchors with CR, LF and CR LF as line breaks.
bool atLineStart(std::string_view s, std::size_t p) {
  return p == 0 || s[p - 1] == '\n' || s[p - 1] == '\r';
}
bool atLineEnd(std::string_view s, std::size_t p) {
  return p == s.size() || s[p] == '\n' || s[p] == '\r';
}

// End of the run of characters of one class that starts at `p`. Every position inside a run
// shares its end, so the end found for the run's first position serves all of them: that keeps
// the scans linear on long runs.
template <bool (*InClass)(std::string_view, std::size_t)>
class RunEnds {
 public:
  explicit RunEnds(std::string_view s) : s_(s) {}
  std::size_t from(std::size_t p) {
    if (p >= start_ && p < end_) return end_;
    start_ = p;
    end_ = p;
    while (end_ < s_.size() && InClass(s_, end_)) end_ += charLength(s_, end_);
    return end_;
  }

 private:
  std::string_view s_;
  std::size_t start_ = 0;
  std::size_t end_ = 0;
};

bool isOpener(char c) { return c == '[' || c == '{' || c == '"'; }

}  // namespace

Text expandQuoteMarkers(std::string_view text) { return replaceAll(text, "''", "\"", false); }

namespace {

// True when one of the 8 bytes of `word` is below 0x21 (ASCII white space and other control
// bytes) or is 0xA1 (the lead byte of the full-width space). May also flag a byte next to a real
// hit, never misses one.
constexpr bool mayHoldWhite(uint64_t word) {
  constexpr uint64_t ones = 0x0101010101010101ULL;
  constexpr uint64_t highs = 0x8080808080808080ULL;
  const uint64_t below21 = (word - ones * 0x21) & ~word & highs;
  const uint64_t a1 = word ^ (ones * 0xA1);
  const uint64_t isA1 = (a1 - ones) & ~a1 & highs;
  return (below21 | isA1) != 0;
}

}  // namespace

std::optional<std::string_view> stripQuotesInPlace(std::string_view s) {
  // Names, path segments and most values hold no white space at all. Then only quotes at the
  // two ends can go (there is no line break, so the text is one line). A full-width space
  // always shows as the bytes A1 A1; other A1 bytes are the lead bytes of punctuation.
  const std::size_t n = s.size();
  std::size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    uint64_t word;
    std::memcpy(&word, s.data() + i, sizeof word);
    if (mayHoldWhite(word)) break;
  }
  for (; i < n; ++i) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (b == ' ' || (b >= '\t' && b <= '\r')) return std::nullopt;
    if (b == 0xA1 && i + 1 < n && s[i + 1] == '\xA1') return std::nullopt;
  }
  std::size_t first = 0;
  std::size_t last = n;
  while (first < last && s[first] == '"') ++first;
  while (last > first && s[last - 1] == '"') --last;
  return s.substr(first, last - first);
}

Text stripQuotes(std::string_view s) {
  if (const auto piece = stripQuotesInPlace(s)) return Text(*piece);
  // Unchanged stretches are copied in one piece when a deletion ends them.
  Text out;
  std::size_t copyFrom = 0;
  auto drop = [&](std::size_t from, std::size_t to) {
    if (out.capacity() == 0) out.reserve(s.size());
    out.append(s.substr(copyFrom, from - copyFrom));
    copyFrom = to;
  };
  RunEnds<isWhite> white(s);
  RunEnds<isBlankOrQuote> blankOrQuote(s);
  for (std::size_t p = 0; p < s.size();) {
    // The four alternatives in their order; the first that matches at p wins.
    if (isWhite(s, p)) {  // white space followed by a quote
      const std::size_t q = white.from(p);
      if (q < s.size() && s[q] == '"') {
        drop(p, q + 1);
        p = q + 1;
        continue;
      }
    }
    if (s[p] == '"' && p + 1 < s.size() && isWhite(s, p + 1)) {  // a quote followed by white space
      const std::size_t q = white.from(p + 1);
      drop(p, q);
      p = q;
      continue;
    }
    if (isBlankOrQuote(s, p)) {
      const std::size_t q = blankOrQuote.from(p);
      if (atLineStart(s, p) || atLineEnd(s, q)) {  // the run at a line start, or at a line end
        drop(p, q);
        p = q;
        continue;
      }
    }
    p += charLength(s, p);
  }
  if (copyFrom == 0) return Text(s);
  out.append(s.substr(copyFrom));
  return out;
}

std::string_view trimLineBlanks(std::string_view s) {
  if (s.empty()) return s;
  // Most values have no blank at either end: then nothing can go.
  const auto firstByte = static_cast<unsigned char>(s.front());
  const auto lastByte = static_cast<unsigned char>(s.back());
  if (firstByte != ' ' && firstByte != '\t' && firstByte != 0xA1 && lastByte != ' ' &&
      lastByte != '\t' && lastByte != 0xA1) {
    return s;
  }
  // One line: the blank run at its start and the one at its end go.
  std::size_t first = 0;
  while (first < s.size() && isBlank(s, first)) first += charLength(s, first);
  std::size_t end = first;  // end of the last character that is not blank
  for (std::size_t p = first; p < s.size();) {
    const std::size_t len = charLength(s, p);
    if (!isBlank(s, p)) end = p + len;
    p += len;
  }
  return s.substr(first, end - first);
}

namespace {

// trimBlanks as a piece of its argument when the text holds no line break.
std::optional<std::string_view> trimBlanksInPlace(std::string_view s) {
  if (s.empty()) return s;
  if (std::memchr(s.data(), '\n', s.size()) != nullptr ||
      std::memchr(s.data(), '\r', s.size()) != nullptr) {
    return std::nullopt;
  }
  return trimLineBlanks(s);
}

}  // namespace

Text trimBlanks(std::string_view s) {
  if (const auto piece = trimBlanksInPlace(s)) return Text(*piece);
  Text out;
  std::size_t copyFrom = 0;
  for (std::size_t p = 0; p < s.size();) {
    const auto b = static_cast<unsigned char>(s[p]);
    // Only a space, a tab or a full-width space (lead byte A1) can start a blank run.
    if (b != ' ' && b != '\t' && b != 0xA1) {
      p += b < 0x80 ? 1 : charLength(s, p);
      continue;
    }
    if (!isBlank(s, p)) {
      p += charLength(s, p);
      continue;
    }
    std::size_t q = p;
    while (q < s.size() && isBlank(s, q)) q += charLength(s, q);
    // Inside a run neither anchor can hold, so the run goes or stays as a whole.
    if (atLineStart(s, p) || atLineEnd(s, q)) {
      if (out.capacity() == 0) out.reserve(s.size());
      out.append(s.substr(copyFrom, p - copyFrom));
      copyFrom = q;
    }
    p = q;
  }
  if (copyFrom == 0) return Text(s);
  out.append(s.substr(copyFrom));
  return out;
}


void appendCompacted(std::string_view s, const std::vector<std::size_t>& apostrophes, Text& out) {
  // The two replacements fuse into one rule: a maximal run of white space goes when an opener
  // follows it or a closer precedes it. (The first replacement removes only white space and
  // never joins two runs, so the second sees each surviving run with the same neighbours.)
  // White space is rare in JSON text, so the scan looks at eight bytes at a time for a byte that
  // can begin it, and decides character boundaries only there. Unchanged stretches are copied in
  // one piece.
  out.reserve(out.size() + s.size() + 2 * apostrophes.size());
  std::size_t copyFrom = 0;
  auto next = apostrophes.begin();  // the next quote to write as two apostrophes
  auto copyUpTo = [&](std::size_t end) {
    for (; next != apostrophes.end() && *next < end; ++next) {
      out.append(s.substr(copyFrom, *next - copyFrom));
      out += "''";
      copyFrom = *next + 1;
    }
    out.append(s.substr(copyFrom, end - copyFrom));
  };
  const std::size_t n = s.size();
  CharBoundaries boundaries(s);
  for (std::size_t p = 0; p < n;) {
    if (p + 8 <= n) {
      uint64_t word;
      std::memcpy(&word, s.data() + p, sizeof word);
      if (!mayHoldWhite(word)) {
        p += 8;
        continue;
      }
    }
    const auto b = static_cast<unsigned char>(s[p]);
    const bool ascii = b == ' ' || (b >= '\t' && b <= '\r');
    if (!ascii && !(b == 0xA1 && p + 1 < n && s[p + 1] == '\xA1')) {
      ++p;
      continue;
    }
    // The character before: a closer counts only as a character of its own (not as the trail
    // byte of a double-byte character), and a quote only when it stays one. Asked before p, as
    // the boundaries go forward.
    const char before = p > 0 ? s[p - 1] : '\0';
    const bool afterCloser =
        (before == '"' && !std::binary_search(apostrophes.begin(), apostrophes.end(), p - 1)) ||
        ((before == ']' || before == '}') && boundaries.startsAt(p - 1));
    if (!ascii && !boundaries.startsAt(p)) {
      ++p;
      continue;
    }
    std::size_t q = p;
    while (q < n && isWhite(s, q)) q += charLength(s, q);
    // (A quote right after white space follows no backslash, so it is never one to rewrite.)
    if (afterCloser || (q < n && isOpener(s[q]))) {
      copyUpTo(p);
      copyFrom = q;
    }
    boundaries.markStart(q);
    p = q;
  }
  copyUpTo(n);
}

Text compactBlanks(std::string_view s) {
  Text out;
  appendCompacted(s, {}, out);
  return out;
}

const Text& PatternCleanup::storedStripPattern() {
  return "[\\s　]+''|''[\\s　]+|^[ 　''\\t]+|[ 　''\\t]+$"_gbk;
}
const Text& PatternCleanup::storedTrimPattern() { return "^[ 　\\t]+|[ 　\\t]+$"_gbk; }
const Text& PatternCleanup::storedCompactBeforePattern() { return "[\\s　]+(\\[|{|'')"_gbk; }
const Text& PatternCleanup::storedCompactAfterPattern() { return "(\\]|}|'')[\\s　]+"_gbk; }

PatternCleanup::PatternCleanup() {
  stripRegex_.Create(expandQuoteMarkers(storedStripPattern()));
  trimRegex_.Create(expandQuoteMarkers(storedTrimPattern()));
  compactBeforeRegex_.Create(expandQuoteMarkers(storedCompactBeforePattern()));
  compactAfterRegex_.Create(expandQuoteMarkers(storedCompactAfterPattern()));
}

Text PatternCleanup::StripQuotes(const Text& text) const { return stripRegex_.Replace(text, ""); }

Text PatternCleanup::Trim(const Text& text) const { return trimRegex_.Replace(text, ""); }

Text PatternCleanup::Compact(const Text& text) const {
  return compactAfterRegex_.Replace(compactBeforeRegex_.Replace(text, "$1"), "$1");
}

}  // namespace vellox
