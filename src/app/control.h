// The controls of the main window, named exactly as the window names them.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace vellox {

// X-macro list: one entry per control, in the order the window creates them.
#define VELLOX_CONTROLS(X) \
  X(标签_标题)             \
  X(标签_检索名称)         \
  X(编辑框_名称)           \
  X(标签_地区范围)         \
  X(组合框_地区)           \
  X(组合框_地区1)          \
  X(标签_检索深度)         \
  X(编辑框_深度)           \
  X(按钮_采集)             \
  X(按钮_暂停)             \
  X(按钮_继续)             \
  X(按钮_导出CSV)          \
  X(分组框1)               \
  X(选择框_精简采集)       \
  X(选择框_静默采集)       \
  X(选择框_展示名称)       \
  X(选择框_跳过空白项目)   \
  X(高级选择夹1)           \
  X(图片框3)               \
  X(树型框_JSON_search)    \
  X(图片框1)               \
  X(标签_json_name)        \
  X(编辑框_JSON_子路径)    \
  X(标签_json_name_search) \
  X(编辑框_JSON_子路径1)   \
  X(标签_json_name_search1) \
  X(编辑框_JSON_titleNAME) \
  X(标签1)                 \
  X(组合框_正则过滤)       \
  X(标签2)                 \
  X(编辑框_过滤条件)       \
  X(单选框_正则通用)       \
  X(单选框_正则手机)       \
  X(单选框_正则座机)       \
  X(标签5)                 \
  X(通用对话框_配置)       \
  X(按钮_导入)             \
  X(按钮_默认)             \
  X(按钮_导出)             \
  X(图片框2)               \
  X(编辑框_About)          \
  X(状态条1)               \
  X(时钟_状态条)           \
  X(标签_进度)             \
  X(标签_进度2)

enum class Control {
#define VELLOX_CONTROL_ENUMERATOR(name) name,
  VELLOX_CONTROLS(VELLOX_CONTROL_ENUMERATOR)
#undef VELLOX_CONTROL_ENUMERATOR
};

inline constexpr std::size_t kControlCount = 0
#define VELLOX_CONTROL_COUNT(name) +1
    VELLOX_CONTROLS(VELLOX_CONTROL_COUNT)
#undef VELLOX_CONTROL_COUNT
    ;

// The control's name (UTF-8), as the window's objectName carries it.
std::string_view controlName(Control control);

// The control of that name, or nothing.
std::optional<Control> controlByName(std::string_view utf8Name);

}  // namespace vellox
