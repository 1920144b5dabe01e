#include "settings/field_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/testing/fakes.h"
#include "settings/default_settings.h"
#include "text/codepage.h"

namespace vellox {
namespace {

Text g(const std::string& utf8) { return utf8ToGbk(utf8); }

Text lines(std::initializer_list<std::string> items) {
  Text out;
  for (const std::string& item : items) out += g(item) + "\r\n";
  return out;
}

std::vector<Text> pickerItems(MemoryWindow& w) {
  std::vector<Text> items;
  for (int i = 0; i < w.itemCount(Control::组合框_正则过滤); ++i) {
    EXPECT_EQ(w.itemValue(Control::组合框_正则过滤, i), i);
    items.push_back(w.itemText(Control::组合框_正则过滤, i));
  }
  return items;
}

TEST(FieldList, LinesAndMarkers) {
  struct Case {
    const char* name;
    std::string fieldList;
    Text paths, titles;
    int collected;
  };
  const Case cases[] = {
      {"title marker stays in the path", "searchResultfoTitle#*--名称", lines({"searchResultfoTitle*"}), lines({"名称"}), 1},
      {"no marker: not collected", "searchResultfoUrl--URL", "", "", 0},
      {"third piece ignored", "searchResultfoTp#--业务--x", lines({"searchResultfoTp"}), lines({"业务"}), 1},
      {"star only in the title piece", "searchResultfoTitle--名称*", lines({"searchResultfoTitle"}), lines({"名称"}), 1},
      {"empty path piece", "#--空", lines({""}), lines({"空"}), 1},
      {"blank inside a title stays in the box", "a#--联 系", lines({"a"}), lines({"联 系"}), 1},
      {"no title piece gives an empty title", "a#", lines({"a"}), lines({""}), 1},
      {"nothing after the separator", "a#--", lines({"a"}), lines({""}), 1},
      {"lone LF inside a line", "searchResultfoLatitude#--\n纬度", lines({"searchResultfoLatitude"}), lines({"\n纬度"}), 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fakes::MemoryProgram p;
    p.window.userTypes(Control::编辑框_JSON_子路径, g(c.fieldList));
    EXPECT_EQ(p.window.text(Control::编辑框_JSON_子路径1), c.paths);
    EXPECT_EQ(p.window.text(Control::编辑框_JSON_titleNAME), c.titles);
    EXPECT_EQ(p.window.text(Control::标签_json_name_search), "json_name_search{" + intToText(c.collected) + "}");
  }
}

TEST(FieldList, DefaultListYieldsSixFields) {
  fakes::MemoryProgram p;
  p.window.setText(Control::编辑框_JSON_子路径, kDefaultFieldList);
  EXPECT_EQ(p.window.text(Control::编辑框_JSON_子路径1),
            lines({"searchResultfoTitle*", "searchResultfoZone", "searchResultfoAddress",
                   "searchResultfoUserName", "searchResultfoText", "searchResultfoTp"}));
  EXPECT_EQ(p.window.text(Control::编辑框_JSON_titleNAME), lines({"名称", "地区", "地址", "姓名", "联系", "业务"}));
  EXPECT_EQ(p.window.text(Control::标签_json_name_search), "json_name_search{6}");
  EXPECT_EQ(pickerItems(p.window), (std::vector<Text>{g("不过滤"), g("名称"), g("地区"), g("地址"),
                                                      g("姓名"), g("联系"), g("业务")}));
  EXPECT_EQ(splitText(kDefaultFieldList, "\r\n").size(), 47u) << "line 21 keeps its LF inside";
}

TEST(FieldList, ColumnTitlesAndPicker) {
  fakes::MemoryProgram p;
  MemoryWindow& w = p.window;
  w.userTypes(Control::编辑框_JSON_titleNAME, g("名 称\r\n\r\n地　址"));
  auto titles = p.state().g_columnTitles.snapshot();
  ASSERT_EQ(titles->size(), 99u);
  EXPECT_EQ((*titles)[0], g("名称")) << "blanks removed";
  EXPECT_EQ((*titles)[1], "") << "an empty line keeps its slot";
  EXPECT_EQ((*titles)[2], g("地址"));
  EXPECT_EQ((*titles)[3], "");
  EXPECT_EQ(pickerItems(w), (std::vector<Text>{g("不过滤"), g("名称"), "", g("地址")}));

  Text many;
  for (int i = 1; i <= 120; ++i) many += "t" + std::to_string(i) + "\r\n";
  w.userTypes(Control::编辑框_JSON_titleNAME, many);
  EXPECT_EQ(p.state().g_columnTitles.snapshot()->size(), 120u);
  EXPECT_EQ(titles->size(), 99u) << "a reader keeps the array it took";

  // The selection is kept by position.
  w.userTypes(Control::编辑框_JSON_titleNAME, "a\r\nb\r\nc");
  w.userSelects(Control::组合框_正则过滤, 2);
  w.userTypes(Control::编辑框_JSON_titleNAME, "x\r\ny");
  EXPECT_EQ(w.selectedItem(Control::组合框_正则过滤), 2);
  EXPECT_EQ(w.text(Control::组合框_正则过滤), "y");
  w.userTypes(Control::编辑框_JSON_titleNAME, "x");
  EXPECT_EQ(w.selectedItem(Control::组合框_正则过滤), -1) << "the position no longer exists";
}

TEST(FieldList, EditingTheFieldListResetsTheColumnChoice) {
  fakes::MemoryProgram p;
  p.started();
  MemoryWindow& w = p.window;
  w.userSelects(Control::组合框_正则过滤, 3);
  w.userTypes(Control::编辑框_JSON_子路径, kDefaultFieldList + "\r\nx#--额外");
  EXPECT_EQ(w.selectedItem(Control::组合框_正则过滤), -1) << "the picker shrank to one item first";
  EXPECT_EQ(w.itemCount(Control::组合框_正则过滤), 8);

  w.userSelects(Control::组合框_正则过滤, 0);
  w.userTypes(Control::编辑框_JSON_子路径, kDefaultFieldList);
  EXPECT_EQ(w.selectedItem(Control::组合框_正则过滤), 0) << "不过滤 stays selected";
}

}  // namespace
}  // namespace vellox
