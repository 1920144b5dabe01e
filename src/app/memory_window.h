// MemoryWindow: a Window held in memory, for tests and the command-line front end.
//
// Every call takes one recursive lock, so calls from several threads are serialised and a
// reaction may call back into the window. Reactions run synchronously on the calling thread.
// Message boxes and the file dialog answer from scripts that the test sets; the user's actions
// (clicks, typing, selecting) are simulated by the user* calls.
#pragma once

#include <deque>
#include <mutex>
#include <optional>
#include <vector>

#include "app/window.h"
#include "app/window_layout.h"

namespace vellox {

class MemoryWindow final : public Window {
 public:
  struct TreeNodeRecord {
    TreeNode node;
    TreeNode parent;
    Text text;
  };
  struct ShownMessage {
    Text text;
    Text title;
    MessageButtons buttons;
    MessageIcon icon;
  };

  // A window in its initial state (the layout's texts and states).
  MemoryWindow();

  // --- Window ---
  void setEvents(WindowEvents* events) override;
  Text caption() override;
  void setCaption(const Text& caption) override;
  Text text(Control control) override;
  void setText(Control control, const Text& text) override;
  bool ticked(Control control) override;
  void setTicked(Control control, bool ticked) override;
  bool enabled(Control control) override;
  void setEnabled(Control control, bool enabled) override;
  bool visible(Control control) override;
  void setVisible(Control control, bool visible) override;
  int currentTab(Control control) override;
  void setCurrentTab(Control control, int page) override;
  int left(Control control) override;
  void setLeft(Control control, int left) override;
  int width(Control control) override;
  void setWidth(Control control, int width) override;
  int clientWidth() override;
  int timerPeriod(Control timer) override;
  void setTimerPeriod(Control timer, int milliseconds) override;
  void clearItems(Control combo) override;
  void addItem(Control combo, const Text& text, int32_t value) override;
  int itemCount(Control combo) override;
  Text itemText(Control combo, int position) override;
  int32_t itemValue(Control combo, int position) override;
  int selectedItem(Control combo) override;
  void selectItem(Control combo, int position) override;
  TreeNode appendTreeNode(Control tree, TreeNode parent, const Text& text) override;
  void clearTree(Control tree) override;
  Text statusPanel(Control statusBar, int panel) override;
  void setStatusPanel(Control statusBar, int panel, const Text& text) override;
  MessageAnswer messageBox(const Text& text, const Text& title, MessageButtons buttons,
                           MessageIcon icon) override;
  std::optional<Text> showFileDialog(Control dialog, const FileDialogRequest& request) override;
  void processEvents() override;

  // --- the user's side ---
  // The window has been created and shown.
  void userOpens();
  // A click: ignored when the control is disabled; a check box toggles and a radio button ticks
  // (unticking its siblings) before the reaction.
  void userClicks(Control control);
  // Typing replaces the text and runs the reaction, as setText does.
  void userTypes(Control control, const Text& text);
  // Picking an item from a combo box's list.
  void userSelects(Control combo, int position);
  // The timer fires once.
  void timerFires(Control timer);
  void setClientWidth(int width);

  // --- scripts and records ---
  // Answers for the next message boxes (without one: kOk, or kNo for Yes/No).
  void queueMessageAnswer(MessageAnswer answer);
  std::vector<ShownMessage> shownMessages();
  // Answers for the next file dialogs (nothing: cancelled; without one: cancelled).
  void queueFileDialogAnswer(std::optional<Text> path);
  std::vector<FileDialogRequest> fileDialogRequests();
  // The path the dialog would propose now: the one chosen in its last confirmed use.
  std::optional<Text> proposedDialogPath(Control dialog);
  // Every node of the tree, in the order appended.
  std::vector<TreeNodeRecord> treeNodes(Control tree);
  int processEventsCalls();

 private:
  struct ControlState {
    Text text;
    bool ticked = false;
    bool enabled = true;
    bool visible = true;
    int left = 0;
    int width = 0;
    int currentTab = 0;
    int timerPeriod = 0;
    std::vector<std::pair<Text, int32_t>> items;
    int selected = -1;
    std::vector<TreeNodeRecord> nodes;
    std::vector<Text> panels;
    std::optional<Text> lastDialogPath;
  };

  ControlState& state(Control control) { return controls_[static_cast<std::size_t>(control)]; }
  void textChanged(Control control);

  std::recursive_mutex mutex_;
  WindowEvents* events_ = nullptr;
  Text caption_;
  int clientWidth_ = kClientWidth;
  std::vector<ControlState> controls_;
  TreeNode lastNode_ = kNoTreeNode;
  std::deque<MessageAnswer> messageAnswers_;
  std::vector<ShownMessage> shownMessages_;
  std::deque<std::optional<Text>> dialogAnswers_;
  std::vector<FileDialogRequest> dialogRequests_;
  int processEventsCalls_ = 0;
};

}  // namespace vellox
