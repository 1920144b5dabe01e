// The main window's layout: every control with its kind, parent, place, size, form text and
// initial state. The Qt window is built from this table and MemoryWindow starts from it, so both
// windows agree on the initial state by construction.
//
// Texts here are UTF-8; windows convert them (GBK for the core, QString for Qt).
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string_view>

#include "app/control.h"

namespace vellox {

enum class ControlKind {
  kLabel,
  kLineEdit,       // one line
  kMultiLineEdit,  // several lines
  kComboBox,       // drop-down list that cannot be typed into
  kButton,
  kGroupBox,
  kCheckBox,
  kRadioButton,
  kTabControl,
  kTreeView,
  kPictureBox,
  kStatusBar,
  kTimer,
  kFileDialog,
};

struct ControlLayout {
  Control control;
  ControlKind kind;
  std::optional<Control> parent;  // none: the window itself
  int tabPage;                    // page of the tab-control parent, else -1
  int x, y, width, height;        // relative to the parent
  std::string_view text;          // caption or initial text
  bool enabled;
  bool ticked;
  bool readOnly;
  bool integerOnly;  // accepts integer text only, centred
};

// Every control, in creation order (earlier ones lie below later siblings).
std::span<const ControlLayout> windowLayout();

// The entry of one control.
const ControlLayout& layoutOf(Control control);

// The window: outer place and size as a desktop places it, and the client area that this outer
// size leaves inside a standard frame (8-pixel borders and a 30-pixel caption bar).
inline constexpr int kWindowX = 50;
inline constexpr int kWindowY = 50;
inline constexpr int kWindowOuterWidth = 571;
inline constexpr int kWindowOuterHeight = 650;
inline constexpr int kClientWidth = 555;
inline constexpr int kClientHeight = 612;
inline constexpr std::string_view kFormCaption = "Vellox";

inline constexpr std::array<std::string_view, 3> kTabCaptions = {"检索结果", "参数配置*慎改",
                                                                 "About"};

struct StatusPanelLayout {
  int width;  // -1: the rest of the bar
  std::string_view formText;
};

inline constexpr std::array<StatusPanelLayout, 10> kStatusPanels = {{
    {50, "Number:"},
    {60, "0"},
    {65, "NowNum:"},
    {50, "0"},
    {40, "Page:"},
    {50, "0"},
    {60, "NowPage:"},
    {50, "0"},
    {40, "0%"},
    {-1, "www.vellox.example"},
}};

}  // namespace vellox
