// Code-page conversion between GBK (the program's Text) and Unicode (UTF-8 for the network and
// files, UTF-16 for the regular-expression engine and the window).
//
// The conversions never stop at bad input: a character that GBK lacks becomes "?", and an
// invalid byte sequence becomes "?" (one per maximal invalid subpart), as the Windows ANSI
// conversions do. Only the *Strict variant reports such a loss.
#pragma once

#include <string>
#include <string_view>

#include "text/text.h"

namespace vellox {

// UTF-8 -> GBK. Characters outside GBK and invalid sequences become "?".
Text utf8ToGbk(std::string_view utf8);

// UTF-8 -> GBK without loss: false (and `out` unspecified) when a character is outside GBK or
// the UTF-8 is invalid.
bool utf8ToGbkStrict(std::string_view utf8, Text& out);

// GBK -> UTF-8. Invalid GBK sequences become "?".
std::string gbkToUtf8(std::string_view gbk);

// GBK -> UTF-16. Invalid GBK sequences become u'?'.
std::u16string gbkToUtf16(std::string_view gbk);

// UTF-16 -> GBK. Characters outside GBK (every surrogate pair among them) and lone surrogates
// become "?".
Text utf16ToGbk(std::u16string_view utf16);

}  // namespace vellox
