#include "settings/region_table.h"

#include <gtest/gtest.h>

#include <string>

#include "app/testing/fakes.h"
#include "text/codepage.h"

namespace vellox {
namespace {

Text g(const std::string& utf8) { return utf8ToGbk(utf8); }

TEST(RegionTable, TableAndEntries) {
  const std::vector<Text> rows = splitText(kRegionTable, "\r\n");
  ASSERT_EQ(rows.size(), 401u);
  EXPECT_EQ(rows.front(), g("所有地区:所有地区"));
  EXPECT_EQ(rows[1], g("北京市:北京市"));
  EXPECT_EQ(rows.back(), g("黑龙江省:黑龙江省"));
  EXPECT_FALSE(kRegionTable.ends_with("\r\n"));
  for (const Text& row : rows) {
    // Every row converts without loss, so no city shows as "?".
    Text back;
    EXPECT_TRUE(utf8ToGbkStrict(gbkToUtf8(row), back));
    EXPECT_EQ(back, row);
  }

  ProgramState state;
  ASSERT_EQ(loadRegionTable(state), 35);
  EXPECT_EQ(state.g_regions[0].province, g("所有地区"));
  const RegionEntry& yunnan = state.g_regions[5];
  EXPECT_EQ(yunnan.province, g("云南省"));
  EXPECT_TRUE(yunnan.cities.starts_with(g("云南省\\临沧市\\丽江市")));
  EXPECT_TRUE(yunnan.cities.ends_with(g("\\开远市")));
  EXPECT_EQ(splitText(yunnan.cities, "\\").size(), 13u) << "12 backslashes";
  struct Count {
    int index;
    const char* province;
    std::size_t rows;
  };
  for (const Count c : {Count{8, "吉林省", 10}, Count{14, "广东省", 22}, Count{33, "香港特别行政区", 2},
                        Count{34, "黑龙江省", 1}}) {
    EXPECT_EQ(state.g_regions[static_cast<std::size_t>(c.index)].province, g(c.province));
    EXPECT_EQ(splitText(state.g_regions[static_cast<std::size_t>(c.index)].cities, "\\").size(), c.rows);
  }
  EXPECT_EQ(loadRegionTable(state), 35) << "loading again rebuilds the same array";
}

TEST(RegionTable, Pickers) {
  fakes::MemoryProgram p;
  MemoryWindow& w = p.window;
  fillCityPicker(w, p.state());
  EXPECT_EQ(w.itemCount(Control::组合框_地区1), 0) << "no table yet";

  fillProvincePicker(w, p.state());
  ASSERT_EQ(w.itemCount(Control::组合框_地区), 35);
  EXPECT_EQ(w.itemValue(Control::组合框_地区, 0), 1);
  EXPECT_EQ(w.itemText(Control::组合框_地区, 34), g("黑龙江省"));
  EXPECT_EQ(w.itemValue(Control::组合框_地区, 34), 35);
  EXPECT_EQ(w.text(Control::组合框_地区), g("所有地区"));
  EXPECT_EQ(w.text(Control::组合框_地区1), g("所有地区"));

  struct Pick {
    const char* province;
    int cities;
    const char* last;
  };
  for (const Pick pick : {Pick{"台湾省", 23, "高雄市"}, Pick{"北京市", 1, "北京市"},
                          Pick{"黑龙江省", 1, "黑龙江省"}, Pick{"香港特别行政区", 2, "香港"}}) {
    SCOPED_TRACE(pick.province);
    int position = -1;
    for (int i = 0; i < 35; ++i) {
      if (w.itemText(Control::组合框_地区, i) == g(pick.province)) position = i;
    }
    w.userSelects(Control::组合框_地区, position);
    ASSERT_EQ(w.itemCount(Control::组合框_地区1), pick.cities);
    EXPECT_EQ(w.text(Control::组合框_地区1), g(pick.province)) << "the province itself first";
    EXPECT_EQ(w.itemValue(Control::组合框_地区1, 0), 1);
    EXPECT_EQ(w.itemText(Control::组合框_地区1, pick.cities - 1), g(pick.last));
    EXPECT_EQ(w.itemValue(Control::组合框_地区1, pick.cities - 1), pick.cities);
  }
}

}  // namespace
}  // namespace vellox
