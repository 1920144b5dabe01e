#include "settings/default_settings.h"

#include <string>

#include "text/codepage.h"
#include "text/gbk_literal.h"

namespace vellox {

using namespace literals;

namespace {

constexpr const char* kFieldLines[] = {
    "searchResultfoSortnum1--序号",       "searchResultfoProviderid--编号",
    "searchResultfoImageSmall--图中",     "searchResultfoImageBig--图大",
    "searchResultfoUrl--URL",             "searchResultfoMiUrl--miniURL",
    "searchResultfoTitle#*--名称",        "searchResultfoClass--等级",
    "searchResultfoMeasureUnit--测量",    "searchResultfoPublicTime--时间",
    "searchResultfoPublicYearTime--年份", "searchResultfoEndTime--结束时间",
    "searchResultfoBespeakAmount--预约量", "searchResultfoUnitPrice--单价",
    "searchResultfoCompany--单位",        "searchResultfohcbu--hcbu",
    "searchResultfoZone#--地区",          "searchResultfoLoginDate--登录日期",
    "searchResultfoAddress#--地址",       "searchResultfoLongitude--经度",
    "searchResultfoLatitude--\n纬度",     "searchResultfoTenMedal--奖章",
    "searchResultfoUserName#--姓名",      "searchResultfoBrand--品牌",
    "searchResultfoPaNum--PA数",          "searchResultfoBm--BM",
    "searchResultfoCapital--资本",        "searchResultfoCapitalUnit--资本单位",
    "searchResultfoText#--联系",          "searchResultfoTp#--业务",
    "searchResultfoReadNum--阅读数",      "searchResultfoReplyNum--回复数",
    "searchResultfoRforumclass--Rforumclass", "searchResultfoFbIndexPage--索引页",
    "searchResultfommt--MMT",             "searchResultfoAs--用途",
    "searchResultfoMiniShop--迷你店",     "searchResultfoId--身份证件",
    "searchResultfoTrading--交易",        "searchResultfoSecurity--安全",
    "searchResultfoWireless--无线",       "searchResultfoMallMark--商标",
    "searchResultfoPayMethod--支付方法",  "searchResultfoSalesVolume--销售额",
    "searchResultfoSalesCount--销售数",   "searchResultfoDistance--距离",
    "searchResultfoST--装货单",
};

std::string joinLines(std::initializer_list<std::string> lines) {
  std::string out;
  for (const std::string& line : lines) {
    if (!out.empty()) out += "\r\n";
    out += line;
  }
  return out;
}

std::string defaultFieldListUtf8() {
  std::string out;
  for (const char* line : kFieldLines) {
    if (!out.empty()) out += "\r\n";
    out += line;
  }
  return out;
}

// Converted once, before main; the public references below refer to these.
const Text defaultFieldList = utf8ToGbk(defaultFieldListUtf8());
const Text defaultColumnTitles = utf8ToGbk(joinLines({"名称", "地区", "地址", "姓名", "联系", "业务"}));
const Text defaultFilterPattern = utf8ToGbk("([\\d+\\-]+)");
const Text aboutText = utf8ToGbk(joinLines({
    "Vellox 由 Brightmoor 制作",
    "",
    "项目主页: https://www.vellox.example/",
    "使用说明: https://www.vellox.example/guide",
    "联系邮箱: support@vellox.example",
    "",
    "2016-08-05",
}));

}  // namespace

const Text& kDefaultFieldList = defaultFieldList;
const Text& kDefaultColumnTitles = defaultColumnTitles;
const Text& kDefaultFilterPattern = defaultFilterPattern;
const Text& kAboutText = aboutText;

void applyDefaultSettings(Window& window) {
  // The picker first, so that its remembered position is 0 while the texts below rebuild it.
  window.clearItems(Control::组合框_正则过滤);
  window.addItem(Control::组合框_正则过滤, "不过滤"_gbk, 0);
  window.selectItem(Control::组合框_正则过滤, 0);
  window.setText(Control::编辑框_JSON_子路径, kDefaultFieldList);
  window.setText(Control::编辑框_JSON_titleNAME, kDefaultColumnTitles);
  window.setText(Control::编辑框_About, kAboutText);
  window.setTicked(Control::选择框_跳过空白项目, false);
  window.setTicked(Control::选择框_展示名称, true);
  window.setText(Control::编辑框_过滤条件, kDefaultFilterPattern);
}

void keepAboutText(Window& window) {
  if (window.text(Control::编辑框_About) != kAboutText) window.setText(Control::编辑框_About, kAboutText);
}

}  // namespace vellox
