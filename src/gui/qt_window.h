// QtWindow: the main window drawn with Qt widgets, behind the Window interface.
//
// Widgets are built from the layout table and carry the control names as objectName. A call from
// another thread is carried to the window's thread and waits until it is done there, so workers
// see the same contract as the window's thread.
// Setting a text from code always runs the text-changed reaction, once, before returning; the
// user's edits run it through Qt's signals.
#pragma once

#include <QWidget>

#include <array>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <type_traits>
#include <unordered_map>
#include <vector>

#include <QMetaObject>
#include <QThread>

// moc cannot read the non-ASCII control names; it needs nothing from these headers.
#ifndef Q_MOC_RUN
#include "app/window.h"
#include "app/window_layout.h"
#endif

class QTimer;
class QTreeWidgetItem;

namespace vellox {

class Program;

class QtWindow final : public QWidget, public Window {
  Q_OBJECT

 public:
  QtWindow();
  ~QtWindow() override;

  // The widget of a control (nullptr for the timer and the file dialog).
  QWidget* widget(Control control) const;
  // What happens when the user closes the window (before it closes).
  void setCloseHandler(std::function<void()> handler);

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

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // Runs `f` on the window's thread and returns its result; from another thread the call waits
  // until `f` has run there.
  template <typename F>
  std::invoke_result_t<F&> onWindowThread(F f) {
    using R = std::invoke_result_t<F&>;
    if (QThread::currentThread() == thread()) return f();
    if constexpr (std::is_void_v<R>) {
      callFromWorker(f);
    } else {
      R result{};
      callFromWorker([&] { result = f(); });
      return result;
    }
  }

  // Queues `call` for the window's thread and waits until it has run. This is what a blocking
  // queued connection does, but the call travels through a queue of our own under standard
  // mutexes, so that thread checkers can follow the hand-over (Qt's event queue is guarded by a
  // lock they cannot see).
  void callFromWorker(const std::function<void()>& call);

 private slots:
  void runPendingCalls();

 private:
  void build();
  QWidget* create(const ControlLayout& entry, QWidget* parent);
  void connectEvents(const ControlLayout& entry, QWidget* widget);

  std::array<QWidget*, kControlCount> widgets_{};
  QTimer* timer_ = nullptr;
  WindowEvents* events_ = nullptr;
  std::function<void()> closeHandler_;
  bool created_ = false;
  TreeNode lastNode_ = kNoTreeNode;
  std::unordered_map<TreeNode, QTreeWidgetItem*> nodes_;
  std::optional<Text> lastDialogPath_;
  std::mutex pendingMutex_;
  std::vector<std::function<void()>> pendingCalls_;
};

// What closing the window does while the program runs: with a worker still busy the process
// ends at once (a running collection is abandoned, nothing is asked or saved); otherwise the
// window closes and the program shuts down normally.
void installClosePolicy(QtWindow& window, Program& program);

}  // namespace vellox
