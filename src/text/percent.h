// Percent-encoding for request parameters and percent-decoding for addresses shown to the user.
#pragma once

#include <string_view>

#include "text/text.h"

namespace vellox {

// Every byte other than 0-9, A-Z and a-z becomes "%" and two upper-case hexadecimal digits
// (space, "-", ".", "_" and "~" included). The bytes are taken as they are: callers choose the
// code page (GBK or UTF-8) before encoding.
Text percentEncode(std::string_view bytes);

// Decodes "%" followed by two hexadecimal digits (either case) into that byte, reads the result
// as UTF-8 and returns it in GBK. "+" stays "+". A "%" with fewer than two characters after it
// ends the decoding: it and what follows are dropped. A "%" followed by two characters that are
// not both hexadecimal digits stays as it is.
Text percentDecodeUtf8(std::string_view text);

}  // namespace vellox
