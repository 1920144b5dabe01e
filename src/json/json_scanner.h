// JsonScanner: cuts one level of JSON text into the members of an object or the elements of an
// array, and holds the path tools of the document.
//
// The scanner is not a tokenizer. SetText loads two buffers: the text itself (after escaped
// quotes are protected and blanks next to brackets and quotes removed) and a masked copy in which
// the inside of every double-quoted string is blanked, so that structural characters are found
// by plain byte searches in the masked copy and pieces are cut from the text at the same
// positions. A candidate end of a value counts only when the stretch before it is balanced (as
// many "{" as "}", "[" as "]", an even number of quotes).
//
// All positions are 1-based byte positions; -1 means "not found". "超出" (out of range) is the
// only error text, returned by ReadKey and ReadValue with next = -1. An escaped quote travels as
// backslash + two apostrophes until RestoreEscapedQuotes turns it back.
//
// The searches remember their last answer per character and the balance test extends its counts
// from the previous candidate, so cutting a level costs time linear in its length.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "text/text.h"

namespace vellox {

struct JsonMember {
  Text key;    // cleaned of quotes and edge blanks
  Text value;  // raw, trimmed
  bool operator==(const JsonMember&) const = default;
};

// Called inside long loops so that a host window stays responsive; empty by default.
using ProcessEventsHook = std::function<void()>;

class JsonScanner {
 public:
  // Loads the text: escape protection, Compact, then both buffers and the string masking.
  void SetText(const Text& text);

  // Clean-up operations (see pattern/cleanup.h for their exact effect).
  static Text Compact(std::string_view text);
  static Text StripQuotes(std::string_view text);
  static Text Trim(std::string_view text);
  // Every backslash + two apostrophes back to backslash + double quote.
  static Text RestoreEscapedQuotes(std::string_view text);
  // 2 when the text starts with "[", 1 with "{", else 0.
  static int KindOf(std::string_view text);

  // Bytes from..to of the loaded text (inclusive) or from+1..to-1 (exclusive); the part outside
  // the buffer is left out.
  Text GetSpan(int32_t from, int32_t to, bool inclusive = false) const;
  // Equal numbers of "{" and "}", of "[" and "]", and an even number of quotes strictly between
  // from and to in the masked text; false when either is -1.
  bool IsBalanced(int32_t from, int32_t to);
  // The key of the member that starts at pos; next := its colon.
  Text ReadKey(int32_t pos, int32_t& next);
  // The raw value after the colon at pos; next := the delimiter that ends it.
  Text ReadValue(int32_t pos, int32_t& next);
  // Members of the first object of `text` (or of the loaded text when not `prepare`).
  int32_t SplitObject(const Text& text, bool prepare, std::vector<JsonMember>& members);
  // Elements of the first array of `text` (or of the loaded text when not `prepare`).
  int32_t SplitArray(const Text& text, bool prepare, std::vector<Text>& elements);
  // Decides object or array (the earlier opener outside strings) and splits it; a text without
  // an opener is read as "[" + text + "]". kind := 1 object, 2 array (unchanged when nothing).
  int32_t SplitTop(const Text& text, std::vector<JsonMember>* members,
                   std::vector<Text>* elements, int32_t* kind);
  // On a text: pos := the first "{" or "[" unless a quote comes first (then the quote's
  // position, result 0); result 1 for "{", 2 for "[", 0 when no opener; pos -1 when neither.
  static int32_t FindFirstStructure(std::string_view text, int32_t& pos);
  // An even number of quotes strictly between from and to in the masked text.
  bool IsOutsideString(int32_t from, int32_t to);

  // --- paths ---
  // Splits a dotted path ('' stands for a double quote; a quoted segment may hold dots);
  // returns the number of segments and keeps them.
  int32_t SplitPath(const Text& path);
  int32_t GetPathSegments(std::vector<Text>& out) const;
  // The segments of the last SplitPath, without copying them.
  const std::vector<Text>& pathSegments() const { return pathSegments_; }
  // Mode 1: bracket form to dotted form (a[0].b -> a.[0].b); mode 0: the reverse; else "".
  static Text NormalizePath(const Text& path, int mode);
  // The lookup of a path on a text, without building a tree.
  Text QueryText(const Text& json, const Text& path, bool standardPaths = false);
  bool QueryArray(const std::vector<Text>& elements);
  bool QueryObject(const std::vector<JsonMember>& members);

  void setProcessEvents(const ProcessEventsHook* hook) { processEvents_ = hook; }

  // The loaded buffers (for tests).
  const std::string& plainText() const { return plainText_; }
  const std::string& maskedText() const { return maskedText_; }

  // Loads text that is already protected and compact: a trimmed piece cut from this scanner's
  // own buffers. Equivalent to SetText for such text, without repeating the compaction.
  void SetCompactedPiece(Text piece);

 private:
  int32_t find(char c, int32_t from);
  // Where the value after the colon at pos ends (ReadValue's next), or -1.
  int32_t valueEnd(int32_t pos);
  std::string_view spanView(int32_t from, int32_t to, bool inclusive = false) const;
  void loadBuffers(std::string text);
  // Sets path segment `index` (0-based) to the raw segment without its quotes.
  void keepSegment(std::size_t index, std::string_view raw);
  void pumpEvents() const {
    if (processEvents_ != nullptr && *processEvents_) (*processEvents_)();
  }

  std::string plainText_;
  std::string maskedText_;
  std::vector<Text> pathSegments_;
  int32_t querySegment_ = 0;
  Text queryResult_;
  int32_t queryStandardPaths_ = 0;
  const ProcessEventsHook* processEvents_ = nullptr;

  // Last answer of find() per structural character: searching from anywhere in
  // [from, result] gives the same result.
  struct FindMemo {
    int32_t from = 0;
    int32_t result = 0;
    bool valid = false;
  };
  std::array<FindMemo, 7> memo_{};
  // Running counts of the balance test for the stretch (from, scanned).
  struct Balance {
    int32_t from = -2;
    int32_t scanned = 0;  // first position not yet counted
    int64_t braces = 0;   // "{" minus "}"
    int64_t brackets = 0; // "[" minus "]"
    int64_t quotes = 0;
  } balance_;
};

// Escape protection of loaded text: an escaped quote (an odd run of backslashes before a double
// quote) becomes backslash + two apostrophes, so it no longer counts as a quote.
Text protectEscapedQuotes(std::string_view text);

// Appends the text as SetText prepares it: escape protection, then Compact, in one pass.
void appendPreparedText(std::string_view text, Text& out);

}  // namespace vellox
