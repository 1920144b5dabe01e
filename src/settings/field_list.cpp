#include "settings/field_list.h"

#include <vector>

#include "text/gbk_literal.h"

namespace vellox {

using namespace literals;

namespace {

// Appends `line` and CR LF to the box's text; setting the text is a change of that box.
void appendLine(Window& window, Control box, const Text& line) {
  window.setText(box, window.text(box) + line + "\r\n");
}

}  // namespace

void parseFieldList(Window& window, ProgramState& state) {
  const std::vector<Text> lines = splitText(window.text(Control::编辑框_JSON_子路径), "\r\n");
  window.setText(Control::编辑框_JSON_子路径1, "");
  window.setText(Control::编辑框_JSON_titleNAME, "");
  int32_t collected = 0;
  for (const Text& line : lines) {
    const Text withoutHash = replaceAll(line, "#", "");
    if (withoutHash == line && replaceAll(withoutHash, "*", "") == line) continue;
    const std::vector<Text> pieces = splitText(line, "--");
    const Text path = pieces.empty() ? Text() : pieces[0];
    const Text title = pieces.size() > 1 ? pieces[1] : Text();
    appendLine(window, Control::编辑框_JSON_子路径1, replaceAll(path, "#", ""));
    appendLine(window, Control::编辑框_JSON_titleNAME, replaceAll(replaceAll(title, "#", ""), "*", ""));
    ++collected;
  }
  window.setText(Control::标签_json_name_search, "json_name_search{" + intToText(collected) + "}");
  rebuildColumnTitles(window, state);
}

void rebuildColumnTitles(Window& window, ProgramState& state) {
  std::vector<Text> titles(ColumnTitles::kInitialSlots);
  const int selected = window.selectedItem(Control::组合框_正则过滤);
  window.clearItems(Control::组合框_正则过滤);
  window.addItem(Control::组合框_正则过滤, "不过滤"_gbk, 0);
  const std::vector<Text> lines = splitText(window.text(Control::编辑框_JSON_titleNAME), "\r\n");
  for (std::size_t i = 1; i <= lines.size(); ++i) {
    if (titles.size() < i) titles.emplace_back();
    titles[i - 1] = removeBlanks(lines[i - 1]);
    window.addItem(Control::组合框_正则过滤, titles[i - 1], static_cast<int32_t>(i));
  }
  // Published as a whole: a collection worker that holds the previous titles keeps them alive.
  state.g_columnTitles.replace(std::move(titles));
  window.selectItem(Control::组合框_正则过滤, selected);
}

}  // namespace vellox
