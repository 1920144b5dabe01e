// The built-in settings: the default field list, column titles and filter pattern, the About
// text, and applying them (at start-up and on 按钮_默认).
#pragma once

#include "app/program_state.h"
#include "app/window.h"
#include "text/text.h"

namespace vellox {

// 47 lines "key[#][*]--title" joined by CR LF; line 21 holds a lone LF before its title.
extern const Text& kDefaultFieldList;
// The six default titles joined by CR LF.
extern const Text& kDefaultColumnTitles;
// ([\d+\-]+): runs of digits, plus and minus signs.
extern const Text& kDefaultFilterPattern;
// The credits shown on the About tab (seven lines).
extern const Text& kAboutText;

// Puts the settings tab and the About tab into their built-in state: the picker with "不过滤"
// selected, the default field list (deriving paths and titles), the default titles, the About
// text, "skip blank items" unticked, "show names" ticked, the default filter pattern.
void applyDefaultSettings(Window& window);

// Reaction to every change of 编辑框_About: puts the About text back when it differs.
void keepAboutText(Window& window);

}  // namespace vellox
