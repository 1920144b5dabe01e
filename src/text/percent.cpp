#include "text/percent.h"

#include <string>

#include "text/codepage.h"

namespace vellox {
namespace {

constexpr bool isAlnum(unsigned char b) {
  return (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
}

constexpr int hexValue(unsigned char b) {
  if (b >= '0' && b <= '9') return b - '0';
  if (b >= 'A' && b <= 'F') return b - 'A' + 10;
  if (b >= 'a' && b <= 'f') return b - 'a' + 10;
  return -1;
}

}  // namespace

Text percentEncode(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  Text out;
  out.reserve(bytes.size() * 3);
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (isAlnum(b)) {
      out.push_back(c);
    } else {
      out.push_back('%');
      out.push_back(kHex[b >> 4]);
      out.push_back(kHex[b & 0x0F]);
    }
  }
  return out;
}

Text percentDecodeUtf8(std::string_view text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      bytes.push_back(text[i]);
      continue;
    }
    if (text.size() - i < 3) break;
    const int hi = hexValue(static_cast<unsigned char>(text[i + 1]));
    const int lo = hexValue(static_cast<unsigned char>(text[i + 2]));
    if (hi < 0 || lo < 0) {
      bytes.push_back('%');
      continue;
    }
    bytes.push_back(static_cast<char>(hi << 4 | lo));
    i += 2;
  }
  return utf8ToGbk(bytes);
}

}  // namespace vellox
