#include "app/control.h"

#include <array>

namespace vellox {
namespace {

constexpr std::array<std::string_view, kControlCount> kNames = {
#define VELLOX_CONTROL_NAME(name) #name,
    VELLOX_CONTROLS(VELLOX_CONTROL_NAME)
#undef VELLOX_CONTROL_NAME
};

}  // namespace

std::string_view controlName(Control control) {
  return kNames[static_cast<std::size_t>(control)];
}

std::optional<Control> controlByName(std::string_view utf8Name) {
  for (std::size_t i = 0; i < kNames.size(); ++i) {
    if (kNames[i] == utf8Name) return static_cast<Control>(i);
  }
  return std::nullopt;
}

}  // namespace vellox
