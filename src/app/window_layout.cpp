#include "app/window_layout.h"

#include <cstddef>

namespace vellox {
namespace {

using C = Control;
using K = ControlKind;
constexpr std::optional<Control> kWindow = std::nullopt;

// {control, kind, parent, tab page, x, y, width, height, text, enabled, ticked, readOnly,
//  integerOnly}
constexpr ControlLayout kLayout[] = {
    {C::标签_标题, K::kLabel, kWindow, -1, -2, 0, 570, 38, "  <Brightmoor>", true, false, false, false},
    {C::标签_检索名称, K::kLabel, kWindow, -1, 12, 44, 80, 24, "检索名称:", true, false, false, false},
    {C::编辑框_名称, K::kLineEdit, kWindow, -1, 72, 46, 136, 20, "", true, false, false, false},
    {C::标签_地区范围, K::kLabel, kWindow, -1, 12, 79, 80, 24, "地区范围:", true, false, false, false},
    {C::组合框_地区, K::kComboBox, kWindow, -1, 72, 71, 136, 20, "", true, false, false, false},
    {C::组合框_地区1, K::kComboBox, kWindow, -1, 72, 96, 136, 20, "", true, false, false, false},
    {C::标签_检索深度, K::kLabel, kWindow, -1, 12, 119, 80, 24, "检索深度:", true, false, false, false},
    {C::编辑框_深度, K::kLineEdit, kWindow, -1, 72, 121, 136, 20, "", true, false, false, true},
    {C::按钮_采集, K::kButton, kWindow, -1, 216, 46, 87, 21, "采集_开始", true, false, false, false},
    {C::按钮_暂停, K::kButton, kWindow, -1, 216, 71, 87, 21, "采集_暂停", false, false, false, false},
    {C::按钮_继续, K::kButton, kWindow, -1, 216, 96, 87, 21, "采集_继续", false, false, false, false},
    {C::按钮_导出CSV, K::kButton, kWindow, -1, 216, 121, 87, 21, "结果_导出CSV", false, false, false, false},
    {C::分组框1, K::kGroupBox, kWindow, -1, 310, 44, 248, 100, "采集设置", true, false, false, false},
    {C::选择框_精简采集, K::kCheckBox, C::分组框1, -1, 11, 16, 85, 22, "精简采集", true, false, false, false},
    {C::选择框_静默采集, K::kCheckBox, C::分组框1, -1, 11, 34, 85, 22, "静默采集", true, false, false, false},
    {C::选择框_展示名称, K::kCheckBox, C::分组框1, -1, 11, 52, 146, 22, "在结果中展示名称", true, true, false, false},
    {C::选择框_跳过空白项目, K::kCheckBox, C::分组框1, -1, 11, 71, 146, 22, "跳过空白项目", true, false, false, false},
    {C::高级选择夹1, K::kTabControl, kWindow, -1, 6, 150, 552, 440, "", true, false, false, false},
    // Tab 0: the picture lies under the tree view and shows when the tree view is hidden.
    {C::图片框3, K::kPictureBox, C::高级选择夹1, 0, 184, 104, 184, 232, "", true, false, false, false},
    {C::树型框_JSON_search, K::kTreeView, C::高级选择夹1, 0, 7, 28, 538, 406, "", true, false, false, false},
    // Tab 1: every settings control lies on the picture box 图片框1.
    {C::图片框1, K::kPictureBox, C::高级选择夹1, 1, 8, 25, 538, 414, "", true, false, false, false},
    {C::标签_json_name, K::kLabel, C::图片框1, -1, 2, 0, 80, 19, "json_name", true, false, false, false},
    {C::编辑框_JSON_子路径, K::kMultiLineEdit, C::图片框1, -1, 0, 20, 536, 157, "", true, false, false, false},
    {C::标签_json_name_search, K::kLabel, C::图片框1, -1, 0, 178, 152, 19, "json_name_search", true, false, false, false},
    {C::编辑框_JSON_子路径1, K::kMultiLineEdit, C::图片框1, -1, 0, 198, 250, 160, "*", false, false, true, false},
    {C::标签_json_name_search1, K::kLabel, C::图片框1, -1, 256, 178, 142, 19, "json_name_title", true, false, false, false},
    {C::编辑框_JSON_titleNAME, K::kMultiLineEdit, C::图片框1, -1, 256, 198, 143, 160, "", true, false, false, false},
    {C::标签1, K::kLabel, C::图片框1, -1, 410, 178, 104, 19, "项目过滤", true, false, false, false},
    {C::组合框_正则过滤, K::kComboBox, C::图片框1, -1, 410, 198, 125, 20, "", true, false, false, false},
    {C::标签2, K::kLabel, C::图片框1, -1, 410, 221, 104, 19, "过滤条件", true, false, false, false},
    {C::编辑框_过滤条件, K::kLineEdit, C::图片框1, -1, 410, 241, 125, 20, "", true, false, false, false},
    {C::单选框_正则通用, K::kRadioButton, C::图片框1, -1, 410, 265, 80, 24, "通用数字", true, false, false, false},
    {C::单选框_正则手机, K::kRadioButton, C::图片框1, -1, 410, 283, 80, 24, "手机", true, false, false, false},
    {C::单选框_正则座机, K::kRadioButton, C::图片框1, -1, 410, 301, 80, 24, "座机", true, false, false, false},
    // The help text that explains the field-list markers.
    {C::标签5, K::kLabel, C::图片框1, -1, 0, 368, 354, 39,
     "\"#\"解析标识符  如:\"searchResultfoText#\"  解析该项\r\n"
     "\"*\"标题中显示  如:\"searchResultfoText*\"  标题显示该项\r\n"
     "\"#*\"在标题中显示并解析 如:\"searchResultfoText#*\"",
     true, false, false, false},
    {C::通用对话框_配置, K::kFileDialog, kWindow, -1, 0, 0, 0, 0, "", true, false, false, false},
    {C::按钮_导入, K::kButton, C::图片框1, -1, 456, 354, 80, 24, "导入配置", true, false, false, false},
    {C::按钮_默认, K::kButton, C::图片框1, -1, 370, 384, 80, 24, "默认配置", true, false, false, false},
    {C::按钮_导出, K::kButton, C::图片框1, -1, 456, 384, 80, 24, "导出配置", true, false, false, false},
    // Tab 2.
    {C::图片框2, K::kPictureBox, C::高级选择夹1, 2, 184, 104, 184, 232, "", true, false, false, false},
    {C::编辑框_About, K::kMultiLineEdit, C::高级选择夹1, 2, 10, 41, 328, 224, "", true, false, false, false},
    {C::状态条1, K::kStatusBar, kWindow, -1, -8, 557, 565, 20, "", true, false, false, false},
    {C::时钟_状态条, K::kTimer, kWindow, -1, 0, 0, 0, 0, "", true, false, false, false},
    // The progress line lies on top of everything else.
    {C::标签_进度, K::kLabel, kWindow, -1, 0, 0, 0, 1, "", true, false, false, false},
    {C::标签_进度2, K::kLabel, kWindow, -1, 0, 0, 1, 2, "", true, false, false, false},
};

static_assert(std::size(kLayout) == kControlCount, "every control has one layout entry");

constexpr bool inControlOrder() {
  for (std::size_t i = 0; i < std::size(kLayout); ++i) {
    if (static_cast<std::size_t>(kLayout[i].control) != i) return false;
  }
  return true;
}
static_assert(inControlOrder(), "layout entries follow the order of the Control enumeration");

}  // namespace

std::span<const ControlLayout> windowLayout() { return kLayout; }

const ControlLayout& layoutOf(Control control) {
  return kLayout[static_cast<std::size_t>(control)];
}

}  // namespace vellox
