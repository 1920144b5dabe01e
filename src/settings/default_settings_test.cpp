#include "settings/default_settings.h"

#include <gtest/gtest.h>

#include <string>

#include "app/testing/fakes.h"
#include "text/codepage.h"

namespace vellox {
namespace {

Text g(const std::string& utf8) { return utf8ToGbk(utf8); }

// The state of the settings controls that the defaults fix.
void expectDefaults(MemoryWindow& w, const ProgramState& state) {
  EXPECT_EQ(w.text(Control::编辑框_JSON_子路径), kDefaultFieldList);
  EXPECT_EQ(w.text(Control::编辑框_JSON_子路径1),
            "searchResultfoTitle*\r\nsearchResultfoZone\r\nsearchResultfoAddress\r\n"
            "searchResultfoUserName\r\nsearchResultfoText\r\nsearchResultfoTp\r\n");
  EXPECT_EQ(w.text(Control::编辑框_JSON_titleNAME), kDefaultColumnTitles);
  EXPECT_EQ(w.itemCount(Control::组合框_正则过滤), 7);
  EXPECT_EQ(w.selectedItem(Control::组合框_正则过滤), 0);
  EXPECT_EQ(w.text(Control::组合框_正则过滤), g("不过滤"));
  EXPECT_EQ(w.text(Control::编辑框_过滤条件), "([\\d+\\-]+)");
  EXPECT_TRUE(w.ticked(Control::选择框_展示名称));
  EXPECT_FALSE(w.ticked(Control::选择框_跳过空白项目));
  EXPECT_EQ(w.text(Control::编辑框_About), kAboutText);
  EXPECT_EQ((*state.g_columnTitles.snapshot())[5], g("业务"));
}

TEST(DefaultSettings, StartupAppliesThemThenRegionsThenCaption) {
  fakes::MemoryProgram p;
  p.started();
  expectDefaults(p.window, p.state());
  EXPECT_EQ(p.window.text(Control::组合框_地区), g("所有地区"));
  EXPECT_EQ(p.window.text(Control::组合框_地区1), g("所有地区"));
  EXPECT_EQ(p.window.caption(), "Vellox_1.32");
  EXPECT_EQ(p.window.text(Control::标签_json_name_search), "json_name_search{6}");
}

TEST(DefaultSettings, ButtonRestoresThem) {
  fakes::MemoryProgram p;
  p.started();
  MemoryWindow& w = p.window;
  w.userTypes(Control::编辑框_JSON_子路径, "a#--b");
  w.userTypes(Control::编辑框_JSON_titleNAME, g("甲\r\n乙"));
  w.userSelects(Control::组合框_正则过滤, 2);
  w.userTypes(Control::编辑框_过滤条件, "x");
  w.userClicks(Control::选择框_展示名称);
  w.userClicks(Control::选择框_跳过空白项目);
  w.userClicks(Control::选择框_精简采集);
  w.userClicks(Control::按钮_默认);
  expectDefaults(w, p.state());
  EXPECT_TRUE(w.ticked(Control::选择框_精简采集)) << "untouched by the defaults";
}

TEST(DefaultSettings, AboutTextCannotBeChanged) {
  fakes::MemoryProgram p;
  p.started();
  p.window.userTypes(Control::编辑框_About, kAboutText + "x");
  EXPECT_EQ(p.window.text(Control::编辑框_About), kAboutText);
  p.window.userTypes(Control::编辑框_About, "");
  EXPECT_EQ(p.window.text(Control::编辑框_About), kAboutText);
  EXPECT_EQ(splitText(kAboutText, "\r\n").size(), 7u);
  EXPECT_TRUE(kAboutText.ends_with("2016-08-05"));
}

TEST(DefaultSettings, BuiltInTexts) {
  EXPECT_EQ(splitText(kDefaultFieldList, "\r\n").size(), 47u);
  EXPECT_EQ(splitText(kDefaultFieldList, "\r\n")[20], g("searchResultfoLatitude--\n纬度"));
  EXPECT_EQ(kDefaultFilterPattern.size(), 10u);
  EXPECT_EQ(kDefaultColumnTitles, g("名称\r\n地区\r\n地址\r\n姓名\r\n联系\r\n业务"));
}

}  // namespace
}  // namespace vellox
