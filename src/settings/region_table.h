// The region table and the two region pickers (组合框_地区 for the province, 组合框_地区1 for the
// city).
#pragma once

#include <cstdint>

#include "app/program_state.h"
#include "app/window.h"

namespace vellox {

// The built-in table: 401 lines "province:city" joined by CR LF (no CR LF after the last), GBK.
// The rows of one province stand together, provinces in table order, and each province's first
// row names the province itself as its city.
extern const Text& kRegionTable;

// Rebuilds state.g_regions from kRegionTable (one entry per province, cities joined by "\");
// returns the number of entries (35).
int32_t loadRegionTable(ProgramState& state);

// Clears the province picker, loads the table, adds one item per province (item value: its
// 1-based position), selects the first ("所有地区") and fills the city picker.
void fillProvincePicker(Window& window, ProgramState& state);

// Refills the city picker with the cities of the selected province (item value: 1-based
// position) and selects the first, which is the province itself. Empty when no table is loaded.
void fillCityPicker(Window& window, const ProgramState& state);

}  // namespace vellox
