// The field list and the column titles on the settings tab.
//
// A field-list line reads "path#*--title": "#" collects the field, "*" in the path piece also
// makes it part of each listing's title line. Editing the field list re-derives the working paths
// (编辑框_JSON_子路径1), the titles box, the count label; editing the titles box rebuilds the
// column titles and the filter-column picker.
#pragma once

#include "app/program_state.h"
#include "app/window.h"

namespace vellox {

// Reaction to every change of 编辑框_JSON_子路径. A collected line without a title piece (no
// "--", or nothing after it) gets an empty title.
void parseFieldList(Window& window, ProgramState& state);

// Reaction to every change of 编辑框_JSON_titleNAME: replaces state.g_columnTitles (at least 99
// slots, each title without blanks) and refills 组合框_正则过滤 ("不过滤" with value 0, then title
// i with value i), keeping the selected position when it still exists.
void rebuildColumnTitles(Window& window, ProgramState& state);

}  // namespace vellox
