#include "app/memory_window.h"

#include "text/codepage.h"

namespace vellox {

using Lock = std::lock_guard<std::recursive_mutex>;

MemoryWindow::MemoryWindow() : caption_(utf8ToGbk(kFormCaption)), controls_(kControlCount) {
  for (const ControlLayout& entry : windowLayout()) {
    ControlState& s = state(entry.control);
    s.text = utf8ToGbk(entry.text);
    s.enabled = entry.enabled;
    s.ticked = entry.ticked;
    s.left = entry.x;
    s.width = entry.width;
    if (entry.kind == ControlKind::kStatusBar) {
      for (const StatusPanelLayout& panel : kStatusPanels) s.panels.push_back(utf8ToGbk(panel.formText));
    }
  }
}

void MemoryWindow::setEvents(WindowEvents* events) {
  const Lock lock(mutex_);
  events_ = events;
}

Text MemoryWindow::caption() {
  const Lock lock(mutex_);
  return caption_;
}

void MemoryWindow::setCaption(const Text& caption) {
  const Lock lock(mutex_);
  caption_ = caption;
}

Text MemoryWindow::text(Control control) {
  const Lock lock(mutex_);
  ControlState& s = state(control);
  if (layoutOf(control).kind == ControlKind::kComboBox) {
    return s.selected >= 0 ? s.items[static_cast<std::size_t>(s.selected)].first : Text();
  }
  return s.text;
}

void MemoryWindow::setText(Control control, const Text& text) {
  const Lock lock(mutex_);
  state(control).text = text;
  textChanged(control);
}

void MemoryWindow::textChanged(Control control) {
  const ControlKind kind = layoutOf(control).kind;
  if (events_ && (kind == ControlKind::kLineEdit || kind == ControlKind::kMultiLineEdit)) {
    events_->onTextChanged(control);
  }
}

bool MemoryWindow::ticked(Control control) {
  const Lock lock(mutex_);
  return state(control).ticked;
}

void MemoryWindow::setTicked(Control control, bool ticked) {
  const Lock lock(mutex_);
  state(control).ticked = ticked;
}

bool MemoryWindow::enabled(Control control) {
  const Lock lock(mutex_);
  return state(control).enabled;
}

void MemoryWindow::setEnabled(Control control, bool enabled) {
  const Lock lock(mutex_);
  state(control).enabled = enabled;
}

bool MemoryWindow::visible(Control control) {
  const Lock lock(mutex_);
  return state(control).visible;
}

void MemoryWindow::setVisible(Control control, bool visible) {
  const Lock lock(mutex_);
  state(control).visible = visible;
}

int MemoryWindow::currentTab(Control control) {
  const Lock lock(mutex_);
  return state(control).currentTab;
}

void MemoryWindow::setCurrentTab(Control control, int page) {
  const Lock lock(mutex_);
  state(control).currentTab = page;
}

int MemoryWindow::left(Control control) {
  const Lock lock(mutex_);
  return state(control).left;
}

void MemoryWindow::setLeft(Control control, int left) {
  const Lock lock(mutex_);
  state(control).left = left;
}

int MemoryWindow::width(Control control) {
  const Lock lock(mutex_);
  return state(control).width;
}

void MemoryWindow::setWidth(Control control, int width) {
  const Lock lock(mutex_);
  state(control).width = width;
}

int MemoryWindow::clientWidth() {
  const Lock lock(mutex_);
  return clientWidth_;
}

void MemoryWindow::setClientWidth(int width) {
  const Lock lock(mutex_);
  clientWidth_ = width;
}

int MemoryWindow::timerPeriod(Control timer) {
  const Lock lock(mutex_);
  return state(timer).timerPeriod;
}

void MemoryWindow::setTimerPeriod(Control timer, int milliseconds) {
  const Lock lock(mutex_);
  state(timer).timerPeriod = milliseconds;
}

void MemoryWindow::clearItems(Control combo) {
  const Lock lock(mutex_);
  state(combo).items.clear();
  state(combo).selected = -1;
}

void MemoryWindow::addItem(Control combo, const Text& text, int32_t value) {
  const Lock lock(mutex_);
  state(combo).items.emplace_back(text, value);
}

int MemoryWindow::itemCount(Control combo) {
  const Lock lock(mutex_);
  return static_cast<int>(state(combo).items.size());
}

Text MemoryWindow::itemText(Control combo, int position) {
  const Lock lock(mutex_);
  const auto& items = state(combo).items;
  return position >= 0 && position < static_cast<int>(items.size())
             ? items[static_cast<std::size_t>(position)].first
             : Text();
}

int32_t MemoryWindow::itemValue(Control combo, int position) {
  const Lock lock(mutex_);
  const auto& items = state(combo).items;
  return position >= 0 && position < static_cast<int>(items.size())
             ? items[static_cast<std::size_t>(position)].second
             : 0;
}

int MemoryWindow::selectedItem(Control combo) {
  const Lock lock(mutex_);
  return state(combo).selected;
}

void MemoryWindow::selectItem(Control combo, int position) {
  const Lock lock(mutex_);
  ControlState& s = state(combo);
  s.selected = position >= 0 && position < static_cast<int>(s.items.size()) ? position : -1;
}

TreeNode MemoryWindow::appendTreeNode(Control tree, TreeNode parent, const Text& text) {
  const Lock lock(mutex_);
  state(tree).nodes.push_back({++lastNode_, parent, text});
  return lastNode_;
}

void MemoryWindow::clearTree(Control tree) {
  const Lock lock(mutex_);
  state(tree).nodes.clear();
}

Text MemoryWindow::statusPanel(Control statusBar, int panel) {
  const Lock lock(mutex_);
  const auto& panels = state(statusBar).panels;
  return panel >= 0 && panel < static_cast<int>(panels.size())
             ? panels[static_cast<std::size_t>(panel)]
             : Text();
}

void MemoryWindow::setStatusPanel(Control statusBar, int panel, const Text& text) {
  const Lock lock(mutex_);
  auto& panels = state(statusBar).panels;
  if (panel >= 0 && panel < static_cast<int>(panels.size())) {
    panels[static_cast<std::size_t>(panel)] = text;
  }
}

MessageAnswer MemoryWindow::messageBox(const Text& text, const Text& title,
                                       MessageButtons buttons, MessageIcon icon) {
  const Lock lock(mutex_);
  shownMessages_.push_back({text, title, buttons, icon});
  if (!messageAnswers_.empty()) {
    const MessageAnswer answer = messageAnswers_.front();
    messageAnswers_.pop_front();
    return answer;
  }
  return buttons == MessageButtons::kYesNo ? MessageAnswer::kNo : MessageAnswer::kOk;
}

std::optional<Text> MemoryWindow::showFileDialog(Control dialog, const FileDialogRequest& request) {
  const Lock lock(mutex_);
  dialogRequests_.push_back(request);
  std::optional<Text> answer;
  if (!dialogAnswers_.empty()) {
    answer = dialogAnswers_.front();
    dialogAnswers_.pop_front();
  }
  if (answer) state(dialog).lastDialogPath = answer;
  return answer;
}

void MemoryWindow::processEvents() {
  const Lock lock(mutex_);
  ++processEventsCalls_;
}

void MemoryWindow::userOpens() {
  const Lock lock(mutex_);
  if (events_) events_->onCreated();
}

void MemoryWindow::userClicks(Control control) {
  const Lock lock(mutex_);
  ControlState& s = state(control);
  if (!s.enabled) return;
  const ControlLayout& entry = layoutOf(control);
  if (entry.kind == ControlKind::kCheckBox) s.ticked = !s.ticked;
  if (entry.kind == ControlKind::kRadioButton) {
    for (const ControlLayout& other : windowLayout()) {
      if (other.kind == ControlKind::kRadioButton && other.parent == entry.parent) {
        state(other.control).ticked = false;
      }
    }
    s.ticked = true;
  }
  if (events_) events_->onClicked(control);
}

void MemoryWindow::userTypes(Control control, const Text& text) { setText(control, text); }

void MemoryWindow::userSelects(Control combo, int position) {
  const Lock lock(mutex_);
  selectItem(combo, position);
  if (events_) events_->onItemSelected(combo);
}

void MemoryWindow::timerFires(Control timer) {
  const Lock lock(mutex_);
  if (events_) events_->onTimerTick(timer);
}

void MemoryWindow::queueMessageAnswer(MessageAnswer answer) {
  const Lock lock(mutex_);
  messageAnswers_.push_back(answer);
}

std::vector<MemoryWindow::ShownMessage> MemoryWindow::shownMessages() {
  const Lock lock(mutex_);
  return shownMessages_;
}

void MemoryWindow::queueFileDialogAnswer(std::optional<Text> path) {
  const Lock lock(mutex_);
  dialogAnswers_.push_back(std::move(path));
}

std::vector<FileDialogRequest> MemoryWindow::fileDialogRequests() {
  const Lock lock(mutex_);
  return dialogRequests_;
}

std::optional<Text> MemoryWindow::proposedDialogPath(Control dialog) {
  const Lock lock(mutex_);
  return state(dialog).lastDialogPath;
}

std::vector<MemoryWindow::TreeNodeRecord> MemoryWindow::treeNodes(Control tree) {
  const Lock lock(mutex_);
  return state(tree).nodes;
}

int MemoryWindow::processEventsCalls() {
  const Lock lock(mutex_);
  return processEventsCalls_;
}

}  // namespace vellox
