#include "text/codepage.h"

#include <iconv.h>

#include <array>
#include <cstdint>

namespace vellox {
namespace {

// Both directions of the GBK mapping as flat tables, built once from the system's converter.
// Converting through tables keeps every call cheap (the regular-expression engine converts each
// value it sees) and makes all later conversions free of shared mutable state.
struct GbkTables {
  // Unicode (BMP) of the double-byte code lead << 8 | trail; 0 where the code is unassigned.
  std::array<char16_t, 65536> toUnicode{};
  // GBK code of a BMP character: < 0x80 for ASCII, lead << 8 | trail otherwise; 0 when GBK
  // lacks the character (U+0000 itself maps to byte 0 through the ASCII path).
  std::array<uint16_t, 65536> fromUnicode{};
  // Windows code page 936 adds the euro sign as the single byte 0x80.
  static constexpr char16_t kEuro = 0x20AC;
};

// An open iconv descriptor, closed on destruction.
class IconvHandle {
 public:
  IconvHandle(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~IconvHandle() {
    if (valid()) iconv_close(cd_);
  }
  IconvHandle(const IconvHandle&) = delete;
  IconvHandle& operator=(const IconvHandle&) = delete;
  bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

GbkTables buildTables() {
  GbkTables t;
  for (char16_t c = 0; c < 0x80; ++c) t.fromUnicode[c] = c;
  t.fromUnicode[GbkTables::kEuro] = 0x80;

  // glibc names Windows code page 936 "CP936"; other iconv builds may only know "GBK".
  IconvHandle cp936("UTF-16LE", "CP936");
  IconvHandle gbk("UTF-16LE", "GBK");
  const IconvHandle& cd = cp936.valid() ? cp936 : gbk;
  if (!cd.valid()) return t;  // No converter: only ASCII maps; everything else becomes "?".
  for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
    for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      unsigned char out[8];
      char* inPtr = in;
      char* outPtr = reinterpret_cast<char*>(out);
      std::size_t inLeft = 2;
      std::size_t outLeft = sizeof out;
      iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
      if (iconv(cd.get(), &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) ||
          inLeft != 0 || sizeof out - outLeft != 2) {
        continue;
      }
      const auto u = static_cast<char16_t>(out[0] | out[1] << 8);
      if (u == 0 || u == 0xFFFD) continue;
      const auto code = static_cast<uint16_t>(lead << 8 | trail);
      t.toUnicode[code] = u;
      if (t.fromUnicode[u] == 0) t.fromUnicode[u] = code;
    }
  }
  return t;
}

const GbkTables& tables() {
  static const GbkTables instance = buildTables();
  return instance;
}

bool isAscii(std::string_view s) {
  for (const char c : s) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

constexpr char32_t kInvalid = 0xFFFFFFFF;

// Calls `sink(codePoint)` for each character of the GBK text, kInvalid for a bad sequence.
template <typename Sink>
void decodeGbk(std::string_view gbk, Sink sink) {
  const GbkTables& t = tables();
  for (std::size_t pos = 0; pos < gbk.size();) {
    const auto b = static_cast<unsigned char>(gbk[pos]);
    if (b < 0x80) {
      sink(char32_t{b});
      ++pos;
    } else if (b == 0x80) {
      sink(char32_t{GbkTables::kEuro});
      ++pos;
    } else if (charLength(gbk, pos) == 2) {
      const char16_t u = t.toUnicode[b << 8 | static_cast<unsigned char>(gbk[pos + 1])];
      sink(u != 0 ? char32_t{u} : kInvalid);
      pos += 2;
    } else {
      sink(kInvalid);
      ++pos;
    }
  }
}

// Calls `sink(codePoint)` for each character of the UTF-8 text, kInvalid for each maximal
// invalid subpart (the Unicode recommendation that browsers and Windows follow).
template <typename Sink>
void decodeUtf8(std::string_view s, Sink sink) {
  const std::size_t n = s.size();
  for (std::size_t i = 0; i < n;) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) {
      sink(char32_t{b});
      ++i;
      continue;
    }
    std::size_t need;
    char32_t cp;
    unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
      need = 1, cp = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
      need = 2, cp = b & 0x0F;
      if (b == 0xE0) lo = 0xA0;
      if (b == 0xED) hi = 0x9F;  // no surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
      need = 3, cp = b & 0x07;
      if (b == 0xF0) lo = 0x90;
      if (b == 0xF4) hi = 0x8F;
    } else {
      sink(kInvalid);
      ++i;
      continue;
    }
    std::size_t j = 1;
    for (; j <= need && i + j < n; ++j) {
      const auto c = static_cast<unsigned char>(s[i + j]);
      const bool ok = j == 1 ? (c >= lo && c <= hi) : (c >= 0x80 && c <= 0xBF);
      if (!ok) break;
      cp = cp << 6 | (c & 0x3F);
    }
    if (j == need + 1) {
      sink(cp);
      i += j;
    } else {
      sink(kInvalid);
      i += j;  // the lead byte and the continuation bytes that were valid so far
    }
  }
}

// Appends the GBK bytes of `cp`; returns false (and appends "?") when GBK lacks it.
bool appendGbk(Text& out, char32_t cp) {
  const uint16_t code = cp < 0x10000 ? tables().fromUnicode[cp] : 0;
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
    return true;
  }
  if (code == 0) {
    out.push_back('?');
    return false;
  }
  if (code < 0x100) {
    out.push_back(static_cast<char>(code));
  } else {
    out.push_back(static_cast<char>(code >> 8));
    out.push_back(static_cast<char>(code & 0xFF));
  }
  return true;
}

void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | cp >> 6));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | cp >> 12));
    out.push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | cp >> 18));
    out.push_back(static_cast<char>(0x80 | (cp >> 12 & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

}  // namespace

Text utf8ToGbk(std::string_view utf8) {
  if (isAscii(utf8)) return Text(utf8);
  Text out;
  out.reserve(utf8.size());
  decodeUtf8(utf8, [&](char32_t cp) {
    if (cp == kInvalid) {
      out.push_back('?');
    } else {
      appendGbk(out, cp);
    }
  });
  return out;
}

bool utf8ToGbkStrict(std::string_view utf8, Text& out) {
  out.clear();
  bool ok = true;
  decodeUtf8(utf8, [&](char32_t cp) { ok = cp != kInvalid && appendGbk(out, cp) && ok; });
  return ok;
}

std::string gbkToUtf8(std::string_view gbk) {
  if (isAscii(gbk)) return std::string(gbk);
  std::string out;
  out.reserve(gbk.size() * 3 / 2);
  decodeGbk(gbk, [&](char32_t cp) { appendUtf8(out, cp == kInvalid ? U'?' : cp); });
  return out;
}

std::u16string gbkToUtf16(std::string_view gbk) {
  std::u16string out;
  out.reserve(gbk.size());
  decodeGbk(gbk, [&](char32_t cp) { out.push_back(cp == kInvalid ? u'?' : char16_t(cp)); });
  return out;
}

Text utf16ToGbk(std::u16string_view utf16) {
  Text out;
  out.reserve(utf16.size() * 2);
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    const char16_t u = utf16[i];
    if (u >= 0xD800 && u <= 0xDFFF) {
      // A surrogate pair is a character beyond the BMP, which GBK never has.
      if (u <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
          utf16[i + 1] <= 0xDFFF) {
        ++i;
      }
      out.push_back('?');
    } else {
      appendGbk(out, u);
    }
  }
  return out;
}

}  // namespace vellox
