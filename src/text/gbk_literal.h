// Chinese constants of the core are written once in UTF-8 source and used as GBK Text.
//
//   using namespace vellox::literals;
//   const Text& all = "所有地区"_gbk;   // converted on first use, then cached
//
// Each distinct literal is converted once per process (a function-local static, so the first
// use from any thread is safe). Keep such literals out of headers that Qt code includes.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string_view>

#include "text/codepage.h"

namespace vellox {

template <std::size_t N>
struct Utf8Literal {
  char data[N];
  constexpr Utf8Literal(const char (&text)[N]) { std::copy_n(text, N, data); }
  constexpr std::string_view view() const { return {data, N - 1}; }
};

namespace literals {

template <Utf8Literal S>
const Text& operator""_gbk() {
  static const Text converted = utf8ToGbk(S.view());
  return converted;
}

}  // namespace literals
}  // namespace vellox
