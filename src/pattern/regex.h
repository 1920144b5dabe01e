// Regular-expression objects: a compiled pattern and the matches of its last search.
//
// Both classes take and return GBK texts and match by character: texts are converted to UTF-16
// for the engine (PCRE2) and back, so "." matches one Chinese character and FirstIndex counts
// characters. The engine behaves as the scripting regular expressions the program's patterns
// were written for: "\d" and "\s" are ASCII only ("\s" does not match the full-width space),
// "^" and "$" anchor next to CR as well as LF in multi-line mode, global matching steps one
// character past an empty match, and replacement templates understand $1..$99, $&, $`, $' and
// $$ (an unset group gives "", a number naming no group stays literal).
//
// Failures never surface as errors: a pattern that does not compile is accepted by Create, after
// which Execute finds nothing and Replace gives ""; a pattern that runs past the match limit on
// a subject (catastrophic backtracking) counts as finding nothing. Indices that callers pass are
// 1-based; out-of-range reads give "" or 0.
//
// Copies share the compiled pattern and the last matches (both immutable) until either side
// runs Create or Execute again. An object may be used by one thread at a time; copies may be used
// by different threads.
#pragma once

#include <cstdint>
#include <memory>

#include "text/text.h"

namespace vellox {

namespace detail {
class CompiledPattern;
struct MatchList;
}  // namespace detail

class RegexObject {
 public:
  RegexObject();
  ~RegexObject();
  RegexObject(const RegexObject&);
  RegexObject& operator=(const RegexObject&);

  // Pattern escaping; these read no state of the object.
  // Escapes \ ^ $ + . { } [ ] = ( ) - " then turns "*" into ".*" and "?" into ".?".
  static Text WildcardToPattern(const Text& text);
  // Escapes \ ^ $ + . { } [ ] = ( ) ? * | " : the whole text matches literally.
  static Text EscapeLiteral(const Text& text);
  // As EscapeLiteral but "|" stays an alternation.
  static Text EscapeKeepAlternation(const Text& text);
  // As EscapeKeepAlternation but "(" and ")" stay groups.
  static Text EscapeKeepGroups(const Text& text);

  // Compiles `pattern` into a new engine instance with the given flags. The matches of the
  // previous Execute stay readable. Always returns true (compile errors show at use).
  bool Create(const Text& pattern, bool ignoreCase = true, bool multiline = true, bool global = true);
  // Searches `subject`, keeps the matches, returns their number (0 on any failure).
  int32_t Execute(const Text& subject);
  // The pattern as given to Create; "" before.
  Text GetPattern() const;
  // `subject` with the matches replaced by `replacement` (a template); "" when the pattern does
  // not compile or no pattern was created.
  Text Replace(const Text& subject, const Text& replacement = {}) const;
  // Number of matches of the last Execute.
  int32_t MatchCount() const;
  // Text of match i.
  Text MatchText(int32_t i) const;
  // Text of group j of match i; "" for a group that took no part.
  Text SubMatchText(int32_t i, int32_t j) const;
  // Number of groups of the first match; 0 when the last Execute found nothing.
  int32_t SubMatchCount() const;
  // As MatchText; `firstIndex` (when given) receives the match's 0-based character offset, or 0.
  Text MatchTextAt(int32_t i, int32_t* firstIndex = nullptr) const;
  // As SubMatchText; `firstIndex` (when given) receives the offset of match i, or 0.
  Text SubMatchTextAt(int32_t i, int32_t j, int32_t* firstIndex = nullptr) const;

 private:
  // Text of slot `slot` of match i (0: the whole match, j: group j); "" and 0 when out of range.
  Text spanText(int32_t i, int32_t slot, int32_t* firstIndex) const;

  std::shared_ptr<const detail::CompiledPattern> regex_;
  std::shared_ptr<const detail::MatchList> matches_;
};

// The compact variant used for one filtered value: Create starts afresh (the previous matches
// are dropped) and the match count of the last Execute is kept.
class RegexMatcher {
 public:
  bool Create(const Text& pattern, bool ignoreCase = true, bool multiline = true, bool global = true);
  Text GetPattern() const { return object_.GetPattern(); }
  Text Replace(const Text& subject, const Text& replacement = {}) const {
    return object_.Replace(subject, replacement);
  }
  int32_t Execute(const Text& subject);
  int32_t MatchCount() const { return matchCount_; }
  Text MatchText(int32_t i) const { return object_.MatchText(i); }
  Text SubMatchText(int32_t i, int32_t j) const { return object_.SubMatchText(i, j); }
  int32_t SubMatchCount() const { return matchCount_ == 0 ? 0 : object_.SubMatchCount(); }

 private:
  RegexObject object_;
  int32_t matchCount_ = 0;
};

}  // namespace vellox
