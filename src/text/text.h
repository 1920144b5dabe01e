// Text: the program's string type, and the helpers every layer uses on it.
//
// A Text is a byte string in GBK, the Chinese ANSI code page. Lengths and positions count bytes
// and are 1-based; -1 means "not found". The empty text and a missing text are the same.
//
// GBK is a double-byte character set: a lead byte 0x81..0xFE followed by a trail byte
// 0x40..0xFE (except 0x7F) is one character. A trail byte can look like an ASCII character
// ("\", "[", "{", "|", or a letter), so every helper here walks the text character by character
// and only ever matches, splits or folds letter case at character boundaries. A lead byte that
// is not followed by a valid trail byte counts as a single-byte character of its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vellox {

using Text = std::string;

// True for a byte that starts a double-byte GBK character.
constexpr bool isGbkLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }

// True for a byte that may end a double-byte GBK character.
constexpr bool isGbkTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFE && b != 0x7F; }

// Byte length (1 or 2) of the character that starts at `pos` (pos < text.size()).
constexpr std::size_t charLength(std::string_view text, std::size_t pos) {
  return pos + 1 < text.size() && isGbkLeadByte(static_cast<unsigned char>(text[pos])) &&
                 isGbkTrailByte(static_cast<unsigned char>(text[pos + 1]))
             ? 2
             : 1;
}

// Answers "does a character start at byte p?" (0-based) for a rising series of positions, in
// time linear in the text over the whole series, without walking the text from its start: a
// byte that is not a lead byte always ends a character (its own, or the one its lead began), so
// decoding can resume right after the nearest such byte before p.
class CharBoundaries {
 public:
  explicit CharBoundaries(std::string_view text) : text_(text) {}
  // The positions asked (and marked) must not decrease.
  bool startsAt(std::size_t p) {
    std::size_t k = p;
    while (k > known_ && isGbkLeadByte(static_cast<unsigned char>(text_[k - 1]))) --k;
    std::size_t last = k;  // the last character start reached that is not after p
    while (k < p) {
      last = k;
      k += charLength(text_, k);
    }
    known_ = k == p ? p : last;
    return k == p;
  }
  // Tells that a character is known to start at p.
  void markStart(std::size_t p) { known_ = p; }

 private:
  std::string_view text_;
  std::size_t known_ = 0;
};

// Position (1-based) of the first occurrence of `what` in `text` that starts at a character
// boundary at or after position `start`; -1 when there is none or `what` is empty.
// With `ignoreCase`, ASCII letters compare without regard to case; double-byte characters
// always compare exactly.
int32_t findText(std::string_view text, std::string_view what, int32_t start = 1,
                 bool ignoreCase = true);

// `text` with every non-overlapping occurrence of `from` (left to right, at character
// boundaries) replaced by `to`. An empty `from` leaves the text unchanged.
Text replaceAll(std::string_view text, std::string_view from, std::string_view to,
                bool ignoreCase = true);

// `text` without its half-width (0x20) and full-width (A1 A1) spaces; tabs and line breaks stay.
Text removeBlanks(std::string_view text);

// The pieces of `text` between occurrences of `delimiter` (exact comparison, at character
// boundaries). Empty pieces between two delimiters are kept, a trailing delimiter yields no final
// empty piece, and the empty text yields no pieces. An empty delimiter yields the whole text.
std::vector<Text> splitText(std::string_view text, std::string_view delimiter);

// Integer value of the leading digits of `text` (an optional sign first; full-width digits
// count as digits). Anything else reads as 0. Values beyond 32 bits saturate.
int32_t textToInt(std::string_view text);

// Value of the longest leading decimal number of `text`: optional sign, digits, an optional
// point with digits, an optional exponent ("e" or "E", optional sign, digits). Full-width digits,
// point, signs and exponent letters count like their ASCII forms. No leading number reads as 0.
double textToDecimal(std::string_view text);

// Decimal text of an integer.
Text intToText(int64_t value);

// Shortest decimal text that reads back as `value`, without trailing zeros ("1.5", "2", "0.1").
Text realToText(double value);

// `value` rounded to `digits` decimal places, halves away from zero (2.5 -> 3, -2.5 -> -3).
double roundHalfAway(double value, int digits = 0);

}  // namespace vellox
