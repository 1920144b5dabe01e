// Window: what the program needs from its main window, by control name.
//
// Contract, for every implementation:
// - Every call may come from any thread. It is carried out on the window's thread (or under the
//   window's lock) and is complete when it returns.
// - Setting a text from code is a change: the text-changed reaction runs, on the window's
//   thread, before setText returns. Selecting a combo-box item or ticking a box from code runs no
//   reaction; only the user's selection and clicks do.
// - Texts are GBK.
#pragma once

#include <cstdint>
#include <optional>

#include "app/control.h"
#include "text/text.h"

namespace vellox {

// A node of a tree view; kNoTreeNode stands for "no parent" (a top-level node).
using TreeNode = int64_t;
inline constexpr TreeNode kNoTreeNode = 0;

enum class MessageButtons { kOk, kYesNo };
enum class MessageIcon { kNone, kInformation, kWarning, kError };
enum class MessageAnswer { kOk, kYes, kNo };

enum class FileDialogKind { kOpen, kSave };

struct FileDialogRequest {
  FileDialogKind kind = FileDialogKind::kSave;
  Text title;
  Text initialFolder;
  // Description and pattern pairs joined by "|", e.g. "CSV表格(*.CSV)|*.CSV".
  Text filter;
};

// The reactions of the program, called by the window on its own thread.
class WindowEvents {
 public:
  virtual ~WindowEvents() = default;
  virtual void onCreated() = 0;
  virtual void onClicked(Control control) = 0;
  virtual void onTextChanged(Control control) = 0;
  virtual void onItemSelected(Control control) = 0;
  virtual void onTimerTick(Control timer) = 0;
};

class Window {
 public:
  virtual ~Window() = default;

  // Where the reactions go; set once before the window is shown.
  virtual void setEvents(WindowEvents* events) = 0;

  // Caption of the main window.
  virtual Text caption() = 0;
  virtual void setCaption(const Text& caption) = 0;

  // Text of an edit box or label, caption of a button or box; for a combo box the text of its
  // selected item ("" when none).
  virtual Text text(Control control) = 0;
  virtual void setText(Control control, const Text& text) = 0;

  // Check boxes and radio buttons.
  virtual bool ticked(Control control) = 0;
  virtual void setTicked(Control control, bool ticked) = 0;

  virtual bool enabled(Control control) = 0;
  virtual void setEnabled(Control control, bool enabled) = 0;

  virtual bool visible(Control control) = 0;
  virtual void setVisible(Control control, bool visible) = 0;

  // Current page (0-based) of a tab control.
  virtual int currentTab(Control control) = 0;
  virtual void setCurrentTab(Control control, int page) = 0;

  // Horizontal place and width in pixels, relative to the parent.
  virtual int left(Control control) = 0;
  virtual void setLeft(Control control, int left) = 0;
  virtual int width(Control control) = 0;
  virtual void setWidth(Control control, int width) = 0;

  // Width of the main window's client area in pixels.
  virtual int clientWidth() = 0;

  // Period of a timer in milliseconds; 0 stops it.
  virtual int timerPeriod(Control timer) = 0;
  virtual void setTimerPeriod(Control timer, int milliseconds) = 0;

  // Combo boxes: items with an integer value each, listed in the order added.
  virtual void clearItems(Control combo) = 0;
  virtual void addItem(Control combo, const Text& text, int32_t value) = 0;
  virtual int itemCount(Control combo) = 0;
  virtual Text itemText(Control combo, int position) = 0;       // "" when out of range
  virtual int32_t itemValue(Control combo, int position) = 0;   // 0 when out of range
  virtual int selectedItem(Control combo) = 0;                  // -1 when none
  virtual void selectItem(Control combo, int position) = 0;     // -1 (or out of range): none

  // Tree views: append a node as the last child of `parent` (kNoTreeNode: last top-level node);
  // returns the new node. clearTree removes every node.
  virtual TreeNode appendTreeNode(Control tree, TreeNode parent, const Text& text) = 0;
  virtual void clearTree(Control tree) = 0;

  // Status-bar panels, 0-based.
  virtual Text statusPanel(Control statusBar, int panel) = 0;
  virtual void setStatusPanel(Control statusBar, int panel, const Text& text) = 0;

  // Message box owned by the main window; returns the button pressed.
  virtual MessageAnswer messageBox(const Text& text, const Text& title, MessageButtons buttons,
                                   MessageIcon icon) = 0;

  // Shows the file dialog; the full path chosen, or nothing when cancelled. The dialog proposes
  // the path chosen in its previous use.
  virtual std::optional<Text> showFileDialog(Control dialog, const FileDialogRequest& request) = 0;

  // Lets the window handle pending input (used inside long loops on the window's thread).
  virtual void processEvents() = 0;
};

}  // namespace vellox
