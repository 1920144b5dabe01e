// Clean-up of JSON text: removing insignificant blanks and the quotes around names and values.
//
// The behaviour is defined by four regular expressions (below, in their stored form, where two
// apostrophes stand for one double quote), compiled case-insensitive, multi-line and global:
//   strip:          [\s　]+''|''[\s　]+|^[ 　''\t]+|[ 　''\t]+$     ("　" is the full-width space)
//   trim:           ^[ 　\t]+|[ 　\t]+$
//   compact before: [\s　]+(\[|{|'')    replaced by $1
//   compact after:  (\]|}|'')[\s　]+    replaced by $1
// These run on every key and value of every page, so the program uses hand-written equivalents
// (stripQuotes, trimBlanks, compactBlanks) that give the same results in one pass without the
// engine; PatternCleanup runs the patterns themselves and is the reference they are tested and
// measured against. On text that is not valid GBK the equivalents keep the bytes as they are,
// where the engine's round trip through Unicode would turn them into "?".
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "pattern/regex.h"
#include "text/text.h"

namespace vellox {

// Every "''" (left to right, without overlap) becomes one double quote.
Text expandQuoteMarkers(std::string_view text);

// Deletes each double quote that white space touches, with that white space, and the spaces,
// full-width spaces, tabs and double quotes at the start and end of every line.
Text stripQuotes(std::string_view text);

// Deletes the spaces, full-width spaces and tabs at the start and end of every line.
Text trimBlanks(std::string_view text);

// The result of stripQuotes as a piece of its argument, for the common texts where it is one
// (without white space); an empty optional otherwise.
std::optional<std::string_view> stripQuotesInPlace(std::string_view text);
// trimBlanks of a text known to hold no line break (always a piece of it).
std::string_view trimLineBlanks(std::string_view text);

// Deletes white space (line breaks and full-width spaces included) before every "[", "{" and
// double quote, then after every "]", "}" and double quote.
Text compactBlanks(std::string_view text);
// Appends compactBlanks(text) to `out`, with each quote at the given rising byte positions
// written as two apostrophes and counted as no quote (the form escape protection gives it).
void appendCompacted(std::string_view text, const std::vector<std::size_t>& apostrophes,
                     Text& out);

// The four clean-up patterns compiled into regular-expression objects.
class PatternCleanup {
 public:
  // The stored pattern texts (GBK, with the quote markers).
  static const Text& storedStripPattern();
  static const Text& storedTrimPattern();
  static const Text& storedCompactBeforePattern();
  static const Text& storedCompactAfterPattern();

  PatternCleanup();
  Text StripQuotes(const Text& text) const;
  Text Trim(const Text& text) const;
  Text Compact(const Text& text) const;

 private:
  RegexObject stripRegex_;
  RegexObject trimRegex_;
  RegexObject compactBeforeRegex_;
  RegexObject compactAfterRegex_;
};

}  // namespace vellox
