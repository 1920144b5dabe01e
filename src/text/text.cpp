#include "text/text.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace vellox {
namespace {

constexpr unsigned char foldAscii(unsigned char b) {
  return b >= 'A' && b <= 'Z' ? static_cast<unsigned char>(b | 0x20) : b;
}

// True when `what` stands in `text` at byte `pos`. Double-byte characters of `what` compare
// exactly, so a trail byte in the letter range is never folded.
bool matchesAt(std::string_view text, std::size_t pos, std::string_view what, bool ignoreCase) {
  if (what.size() > text.size() - pos) return false;
  // Quick rejection on the first byte (folding changes only ASCII letters, never lead bytes).
  const auto first = static_cast<unsigned char>(text[pos]);
  const auto wanted = static_cast<unsigned char>(what[0]);
  if (first != wanted && (!ignoreCase || foldAscii(first) != foldAscii(wanted))) return false;
  if (!ignoreCase) return text.compare(pos, what.size(), what) == 0;
  for (std::size_t i = 0; i < what.size();) {
    const std::size_t len = charLength(what, i);
    if (len == 2) {
      if (text[pos + i] != what[i] || text[pos + i + 1] != what[i + 1]) return false;
    } else if (foldAscii(static_cast<unsigned char>(text[pos + i])) !=
               foldAscii(static_cast<unsigned char>(what[i]))) {
      return false;
    }
    i += len;
  }
  return true;
}

// Value 0..9 of the digit at `pos` (ASCII or full-width A3 B0..A3 B9) and its byte length,
// or length 0 when there is no digit there.
struct Digit {
  int value = 0;
  std::size_t length = 0;
};

Digit digitAt(std::string_view text, std::size_t pos) {
  if (pos >= text.size()) return {};
  const auto b = static_cast<unsigned char>(text[pos]);
  if (b >= '0' && b <= '9') return {b - '0', 1};
  if (b == 0xA3 && pos + 1 < text.size()) {
    const auto t = static_cast<unsigned char>(text[pos + 1]);
    if (t >= 0xB0 && t <= 0xB9) return {t - 0xB0, 2};
  }
  return {};
}

// The ASCII form of the character at `pos` when it is one of the full-width forms that numbers
// may be written with (digits A3 B0..A3 B9, A3 AB "+", A3 AD "-", A3 AE ".", A3 C5 "E",
// A3 E5 "e"), else the byte.
struct NumberChar {
  char ascii = 0;
  std::size_t length = 0;
};

NumberChar numberCharAt(std::string_view text, std::size_t pos) {
  if (pos >= text.size()) return {};
  const auto b = static_cast<unsigned char>(text[pos]);
  if (b == 0xA3 && pos + 1 < text.size()) {
    const auto t = static_cast<unsigned char>(text[pos + 1]);
    if (t >= 0xB0 && t <= 0xB9) return {static_cast<char>('0' + (t - 0xB0)), 2};
    switch (t) {
      case 0xAB: return {'+', 2};
      case 0xAD: return {'-', 2};
      case 0xAE: return {'.', 2};
      case 0xC5: return {'E', 2};
      case 0xE5: return {'e', 2};
      default: break;
    }
  }
  return {static_cast<char>(b), charLength(text, pos)};
}

}  // namespace

int32_t findText(std::string_view text, std::string_view what, int32_t start, bool ignoreCase) {
  if (what.empty()) return -1;
  const std::size_t from = start < 1 ? 0 : static_cast<std::size_t>(start) - 1;
  for (std::size_t pos = 0; pos < text.size(); pos += charLength(text, pos)) {
    if (pos >= from && matchesAt(text, pos, what, ignoreCase)) {
      return static_cast<int32_t>(pos + 1);
    }
  }
  return -1;
}

Text replaceAll(std::string_view text, std::string_view from, std::string_view to,
                bool ignoreCase) {
  if (from.empty()) return Text(text);
  Text out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    if (matchesAt(text, pos, from, ignoreCase)) {
      out.append(to);
      pos += from.size();
    } else {
      const std::size_t len = charLength(text, pos);
      out.append(text.substr(pos, len));
      pos += len;
    }
  }
  return out;
}

Text removeBlanks(std::string_view text) {
  Text out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t len = charLength(text, pos);
    const bool blank = (len == 1 && text[pos] == ' ') ||
                       (len == 2 && text[pos] == '\xA1' && text[pos + 1] == '\xA1');
    if (!blank) out.append(text.substr(pos, len));
    pos += len;
  }
  return out;
}

std::vector<Text> splitText(std::string_view text, std::string_view delimiter) {
  std::vector<Text> pieces;
  if (text.empty()) return pieces;
  if (delimiter.empty()) {
    pieces.emplace_back(text);
    return pieces;
  }
  std::size_t pieceStart = 0;
  for (std::size_t pos = 0; pos < text.size();) {
    if (matchesAt(text, pos, delimiter, false)) {
      pieces.emplace_back(text.substr(pieceStart, pos - pieceStart));
      pos += delimiter.size();
      pieceStart = pos;
    } else {
      pos += charLength(text, pos);
    }
  }
  if (pieceStart < text.size()) pieces.emplace_back(text.substr(pieceStart));
  return pieces;
}

int32_t textToInt(std::string_view text) {
  std::size_t pos = 0;
  bool negative = false;
  if (const NumberChar sign = numberCharAt(text, 0); sign.ascii == '-' || sign.ascii == '+') {
    negative = sign.ascii == '-';
    pos = sign.length;
  }
  int64_t value = 0;
  constexpr int64_t limit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  for (Digit d = digitAt(text, pos); d.length != 0; pos += d.length, d = digitAt(text, pos)) {
    if (value < limit) value = value * 10 + d.value;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

double textToDecimal(std::string_view text) {
  // Copy the longest leading number into ASCII, then let from_chars (locale-independent) read it.
  std::string ascii;
  std::size_t pos = 0;
  auto take = [&](auto accept) {
    const NumberChar c = numberCharAt(text, pos);
    if (c.length == 0 || !accept(c.ascii)) return false;
    ascii.push_back(c.ascii);
    pos += c.length;
    return true;
  };
  auto isSign = [](char c) { return c == '+' || c == '-'; };
  auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
  auto isPoint = [](char c) { return c == '.'; };
  auto isExponent = [](char c) { return c == 'e' || c == 'E'; };

  take(isSign);
  std::size_t mantissaDigits = 0;
  while (take(isDigit)) ++mantissaDigits;
  const std::size_t beforePoint = ascii.size();
  const std::size_t posBeforePoint = pos;
  if (take(isPoint)) {
    std::size_t fraction = 0;
    while (take(isDigit)) ++fraction;
    if (fraction == 0 && mantissaDigits == 0) {
      ascii.resize(beforePoint);
      pos = posBeforePoint;
    }
    mantissaDigits += fraction;
  }
  if (mantissaDigits == 0) return 0.0;
  const std::size_t beforeExponent = ascii.size();
  const std::size_t posBeforeExponent = pos;
  if (take(isExponent)) {
    take(isSign);
    std::size_t exponentDigits = 0;
    while (take(isDigit)) ++exponentDigits;
    if (exponentDigits == 0) {
      ascii.resize(beforeExponent);
      pos = posBeforeExponent;
    }
  }
  const char* first = ascii.data();
  if (*first == '+') ++first;  // from_chars takes "-" but not "+"
  double value = 0.0;
  const auto result = std::from_chars(first, ascii.data() + ascii.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    // Huge exponents overflow to infinity and tiny ones underflow to zero, as strtod does.
    const bool negative = ascii.front() == '-';
    const std::size_t e = ascii.find_first_of("eE");
    const bool tiny = e != std::string::npos && ascii.find('-', e) != std::string::npos;
    if (tiny) return negative ? -0.0 : 0.0;
    return negative ? -std::numeric_limits<double>::infinity()
                    : std::numeric_limits<double>::infinity();
  }
  return result.ec == std::errc() ? value : 0.0;
}

Text intToText(int64_t value) { return std::to_string(value); }

Text realToText(double value) {
  if (value == 0.0) return "0";  // also for -0.0
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return Text(buffer, result.ptr);
}

double roundHalfAway(double value, int digits) {
  const double scale = std::pow(10.0, digits);
  return std::round(value * scale) / scale;
}

}  // namespace vellox
