#include "gui/qt_window.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>
#include <cstdlib>

#include "app/program.h"
#include "gui/qt_text.h"
#include "gui/widgets.h"

namespace vellox {
namespace {

QString nameOf(Control control) {
  const std::string_view name = controlName(control);
  return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

QString utf8(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// A status bar docks along the bottom edge of the client area, whatever its form position says.
// At the form position (y 557) it would lie over 默认配置 and 导出配置 on the settings page,
// which end at y 559 + 24; docked it sits just below the tab control (y 150 + 440).
QRect dockedStatusBar() {
  const ControlLayout& bar = layoutOf(Control::状态条1);
  return QRect(0, kClientHeight - bar.height, kClientWidth, bar.height);
}

// "desc|pattern|desc|pattern" -> Qt's "desc (pattern)" entries.
QStringList nameFilters(const Text& filter) {
  const QStringList parts = toQString(filter).split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    filters << parts[i] + " (" + QString(parts[i + 1]).replace(';', ' ') + ")";
  }
  return filters;
}

}  // namespace

QtWindow::QtWindow() {
  setWindowTitle(utf8(kFormCaption));
  // The layout's sizes were made for a 12-pixel interface font; larger fonts clip the captions.
  QFont interfaceFont = font();
  interfaceFont.setPixelSize(12);
  setFont(interfaceFont);
  build();
  setFixedSize(kClientWidth, kClientHeight);
  move(kWindowX, kWindowY);
}

QtWindow::~QtWindow() = default;

void QtWindow::build() {
  for (const ControlLayout& entry : windowLayout()) {
    QWidget* parent = this;
    if (entry.parent) {
      parent = widgets_[static_cast<std::size_t>(*entry.parent)];
      if (entry.tabPage >= 0) parent = static_cast<TabControl*>(parent)->page(entry.tabPage);
    }
    QWidget* w = create(entry, parent);
    if (w == nullptr) continue;
    w->setObjectName(nameOf(entry.control));
    w->setGeometry(entry.x, entry.y, entry.width, entry.height);
    if (entry.kind == ControlKind::kStatusBar) w->setGeometry(dockedStatusBar());
    if (entry.control == Control::标签5) {
      // The form's 39 pixels hold three lines of its 13-pixel system font; the lines of this
      // (smaller) font, with Chinese glyphs from a fallback font, are still a little taller, so
      // the label reaches down to the bottom of its parent.
      w->resize(entry.width, std::max(entry.height, parent->height() - entry.y));
    }
    // A hidden widget gets its resize event only when shown; place the inner parts now.
    if (auto* tabs = dynamic_cast<TabControl*>(w)) tabs->relayout();
    if (auto* bar = dynamic_cast<StatusPanels*>(w)) bar->relayout();
    w->setEnabled(entry.enabled);
    widgets_[static_cast<std::size_t>(entry.control)] = w;
    connectEvents(entry, w);
  }
  // The progress line is drawn over everything else.
  widget(Control::标签_进度)->raise();
  widget(Control::标签_进度2)->raise();
}

QWidget* QtWindow::create(const ControlLayout& entry, QWidget* parent) {
  const QString text = utf8(entry.text);
  switch (entry.kind) {
    case ControlKind::kLabel: {
      // Labels keep line breaks in CR LF form, like the edit boxes.
      auto* label = new QLabel(QString(text).replace("\r\n", "\n"), parent);
      label->setTextFormat(Qt::PlainText);  // "<Brightmoor>" is text, not markup
      label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
      if (entry.control == Control::标签_标题) {
        label->setStyleSheet(
            "background-color: #1f3a5f; color: white; font-size: 17px; font-weight: bold;");
      }
      if (entry.control == Control::标签5) {
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        QFont help = label->font();
        help.setPixelSize(10);
        label->setFont(help);
      }
      if (entry.control == Control::标签_进度 || entry.control == Control::标签_进度2) {
        label->setStyleSheet("background-color: rgb(255, 0, 0);");
      }
      return label;
    }
    case ControlKind::kLineEdit: {
      auto* edit = new QLineEdit(text, parent);
      if (entry.integerOnly) {
        edit->setAlignment(Qt::AlignCenter);
        edit->setValidator(
            new QRegularExpressionValidator(QRegularExpression("-?[0-9]*"), edit));
      }
      return edit;
    }
    case ControlKind::kMultiLineEdit: {
      auto* edit = new QPlainTextEdit(parent);
      edit->setPlainText(text);
      edit->setReadOnly(entry.readOnly);
      edit->setLineWrapMode(QPlainTextEdit::NoWrap);
      return edit;
    }
    case ControlKind::kComboBox: return new QComboBox(parent);
    case ControlKind::kButton: return new QPushButton(text, parent);
    case ControlKind::kGroupBox: return new QGroupBox(text, parent);
    case ControlKind::kCheckBox: {
      auto* box = new QCheckBox(text, parent);
      box->setChecked(entry.ticked);
      return box;
    }
    case ControlKind::kRadioButton: {
      auto* radio = new QRadioButton(text, parent);
      radio->setChecked(entry.ticked);
      return radio;
    }
    case ControlKind::kTabControl: {
      QStringList captions;
      for (const std::string_view caption : kTabCaptions) captions << utf8(caption);
      return new TabControl(captions, parent);
    }
    case ControlKind::kTreeView: {
      auto* tree = new QTreeWidget(parent);
      tree->setHeaderHidden(true);
      tree->setUniformRowHeights(true);
      return tree;
    }
    case ControlKind::kPictureBox: {
      auto* picture = new QLabel(parent);
      if (entry.control != Control::图片框1) {
        picture->setPixmap(drawPicture(entry.width, entry.height, "Vellox"));
      }
      return picture;
    }
    case ControlKind::kStatusBar: {
      std::vector<int> widths;
      for (const StatusPanelLayout& panel : kStatusPanels) widths.push_back(panel.width);
      auto* bar = new StatusPanels(widths, parent);
      for (int i = 0; i < bar->panelCount(); ++i) {
        bar->panel(i)->setText(utf8(kStatusPanels[static_cast<std::size_t>(i)].formText));
      }
      return bar;
    }
    case ControlKind::kTimer:
      timer_ = new QTimer(this);
      timer_->setObjectName(nameOf(entry.control));
      return nullptr;
    case ControlKind::kFileDialog: return nullptr;  // made for each use
  }
  return nullptr;
}

void QtWindow::connectEvents(const ControlLayout& entry, QWidget* w) {
  const Control c = entry.control;
  if (auto* button = qobject_cast<QAbstractButton*>(w)) {
    connect(button, &QAbstractButton::clicked, this, [this, c] {
      if (events_) events_->onClicked(c);
    });
  } else if (auto* line = qobject_cast<QLineEdit*>(w)) {
    connect(line, &QLineEdit::textEdited, this, [this, c] {
      if (events_) events_->onTextChanged(c);
    });
  } else if (auto* edit = qobject_cast<QPlainTextEdit*>(w)) {
    connect(edit, &QPlainTextEdit::textChanged, this, [this, c] {
      if (events_) events_->onTextChanged(c);
    });
  } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
    connect(combo, &QComboBox::activated, this, [this, c] {
      if (events_) events_->onItemSelected(c);
    });
  }
}

void QtWindow::callFromWorker(const std::function<void()>& call) {
  std::mutex mutex;
  std::condition_variable finished;
  bool done = false;
  {
    const std::lock_guard lock(pendingMutex_);
    pendingCalls_.push_back([&] {
      call();
      // Notify while holding the lock: the waiting worker cannot return (and take `finished`
      // with it) before this thread has let go of both.
      const std::lock_guard guard(mutex);
      done = true;
      finished.notify_one();
    });
  }
  QMetaObject::invokeMethod(this, "runPendingCalls", Qt::QueuedConnection);
  std::unique_lock lock(mutex);
  finished.wait(lock, [&] { return done; });
}

void QtWindow::runPendingCalls() {
  std::vector<std::function<void()>> calls;
  {
    const std::lock_guard lock(pendingMutex_);
    calls.swap(pendingCalls_);
  }
  for (const std::function<void()>& call : calls) call();
}

QWidget* QtWindow::widget(Control control) const {
  return widgets_[static_cast<std::size_t>(control)];
}

void QtWindow::setCloseHandler(std::function<void()> handler) { closeHandler_ = std::move(handler); }

void QtWindow::setEvents(WindowEvents* events) {
  onWindowThread([&] {
    events_ = events;
    if (timer_ != nullptr) {
      timer_->disconnect(this);
      connect(timer_, &QTimer::timeout, this, [this] {
        if (events_) events_->onTimerTick(Control::时钟_状态条);
      });
    }
  });
}

void QtWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (created_) return;
  created_ = true;
  // The window exists and is shown; the program's start-up runs from the event loop.
  QTimer::singleShot(0, this, [this] {
    if (events_) events_->onCreated();
  });
}

void QtWindow::closeEvent(QCloseEvent* event) {
  if (closeHandler_) closeHandler_();
  event->accept();
}

Text QtWindow::caption() {
  return onWindowThread([&] { return fromQString(windowTitle()); });
}

void QtWindow::setCaption(const Text& caption) {
  onWindowThread([&] { setWindowTitle(toQString(caption)); });
}

Text QtWindow::text(Control control) {
  return onWindowThread([&]() -> Text {
    QWidget* w = widget(control);
    if (auto* label = qobject_cast<QLabel*>(w)) return fromEditorText(label->text());
    if (auto* line = qobject_cast<QLineEdit*>(w)) return fromQString(line->text());
    if (auto* edit = qobject_cast<QPlainTextEdit*>(w)) return fromEditorText(edit->toPlainText());
    if (auto* combo = qobject_cast<QComboBox*>(w)) return fromQString(combo->currentText());
    if (auto* button = qobject_cast<QAbstractButton*>(w)) return fromQString(button->text());
    if (auto* group = qobject_cast<QGroupBox*>(w)) return fromQString(group->title());
    return {};
  });
}

void QtWindow::setText(Control control, const Text& text) {
  onWindowThread([&] {
    QWidget* w = widget(control);
    bool isEdit = false;
    {
      const QSignalBlocker blocker(w);
      if (auto* label = qobject_cast<QLabel*>(w)) {
        label->setText(toEditorText(text));
      } else if (auto* line = qobject_cast<QLineEdit*>(w)) {
        line->setText(toQString(text));
        isEdit = true;
      } else if (auto* edit = qobject_cast<QPlainTextEdit*>(w)) {
        edit->setPlainText(toEditorText(text));
        isEdit = true;
      } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        button->setText(toQString(text));
      } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
        group->setTitle(toQString(text));
      }
    }
    // A text set from code is a change, even when it equals the old text.
    if (isEdit && events_) events_->onTextChanged(control);
  });
}

bool QtWindow::ticked(Control control) {
  return onWindowThread([&] {
    auto* button = qobject_cast<QAbstractButton*>(widget(control));
    return button != nullptr && button->isChecked();
  });
}

void QtWindow::setTicked(Control control, bool ticked) {
  onWindowThread([&] {
    if (auto* button = qobject_cast<QAbstractButton*>(widget(control))) {
      const QSignalBlocker blocker(button);
      // An exclusive radio button cannot be unticked directly.
      const bool exclusive = button->autoExclusive();
      button->setAutoExclusive(exclusive && ticked);
      button->setChecked(ticked);
      button->setAutoExclusive(exclusive);
    }
  });
}

bool QtWindow::enabled(Control control) {
  return onWindowThread([&] { return widget(control) != nullptr && widget(control)->isEnabled(); });
}

void QtWindow::setEnabled(Control control, bool enabled) {
  onWindowThread([&] {
    if (QWidget* w = widget(control)) w->setEnabled(enabled);
  });
}

bool QtWindow::visible(Control control) {
  return onWindowThread([&] { return widget(control) != nullptr && !widget(control)->isHidden(); });
}

void QtWindow::setVisible(Control control, bool visible) {
  onWindowThread([&] {
    if (QWidget* w = widget(control)) w->setVisible(visible);
  });
}

int QtWindow::currentTab(Control control) {
  return onWindowThread([&] {
    auto* tabs = dynamic_cast<TabControl*>(widget(control));
    return tabs != nullptr ? tabs->currentIndex() : 0;
  });
}

void QtWindow::setCurrentTab(Control control, int page) {
  onWindowThread([&] {
    if (auto* tabs = dynamic_cast<TabControl*>(widget(control))) tabs->setCurrentIndex(page);
  });
}

int QtWindow::left(Control control) {
  return onWindowThread([&] { return widget(control) != nullptr ? widget(control)->x() : 0; });
}

void QtWindow::setLeft(Control control, int left) {
  onWindowThread([&] {
    if (QWidget* w = widget(control)) w->move(left, w->y());
  });
}

int QtWindow::width(Control control) {
  return onWindowThread([&] { return widget(control) != nullptr ? widget(control)->width() : 0; });
}

void QtWindow::setWidth(Control control, int width) {
  onWindowThread([&] {
    if (QWidget* w = widget(control)) w->resize(width, w->height());
  });
}

int QtWindow::clientWidth() {
  return onWindowThread([&] { return QWidget::width(); });
}

int QtWindow::timerPeriod(Control) {
  return onWindowThread([&] { return timer_->isActive() ? timer_->interval() : 0; });
}

void QtWindow::setTimerPeriod(Control, int milliseconds) {
  onWindowThread([&] {
    if (milliseconds > 0) {
      timer_->start(milliseconds);
    } else {
      timer_->stop();
    }
  });
}

void QtWindow::clearItems(Control combo) {
  onWindowThread([&] {
    if (auto* box = qobject_cast<QComboBox*>(widget(combo))) {
      const QSignalBlocker blocker(box);
      box->clear();
    }
  });
}

void QtWindow::addItem(Control combo, const Text& text, int32_t value) {
  onWindowThread([&] {
    if (auto* box = qobject_cast<QComboBox*>(widget(combo))) {
      const QSignalBlocker blocker(box);
      const int selected = box->currentIndex();
      box->addItem(toQString(text), value);
      // Adding to an empty list must not select the item: only selectItem does.
      box->setCurrentIndex(selected);
    }
  });
}

int QtWindow::itemCount(Control combo) {
  return onWindowThread([&] {
    auto* box = qobject_cast<QComboBox*>(widget(combo));
    return box != nullptr ? box->count() : 0;
  });
}

Text QtWindow::itemText(Control combo, int position) {
  return onWindowThread([&]() -> Text {
    auto* box = qobject_cast<QComboBox*>(widget(combo));
    if (box == nullptr || position < 0 || position >= box->count()) return {};
    return fromQString(box->itemText(position));
  });
}

int32_t QtWindow::itemValue(Control combo, int position) {
  return onWindowThread([&]() -> int32_t {
    auto* box = qobject_cast<QComboBox*>(widget(combo));
    if (box == nullptr || position < 0 || position >= box->count()) return 0;
    return box->itemData(position).toInt();
  });
}

int QtWindow::selectedItem(Control combo) {
  return onWindowThread([&] {
    auto* box = qobject_cast<QComboBox*>(widget(combo));
    return box != nullptr ? box->currentIndex() : -1;
  });
}

void QtWindow::selectItem(Control combo, int position) {
  onWindowThread([&] {
    if (auto* box = qobject_cast<QComboBox*>(widget(combo))) {
      const QSignalBlocker blocker(box);
      box->setCurrentIndex(position >= 0 && position < box->count() ? position : -1);
    }
  });
}

TreeNode QtWindow::appendTreeNode(Control tree, TreeNode parent, const Text& text) {
  return onWindowThread([&]() -> TreeNode {
    auto* view = qobject_cast<QTreeWidget*>(widget(tree));
    if (view == nullptr) return kNoTreeNode;
    const auto found = nodes_.find(parent);
    auto* item = found != nodes_.end() ? new QTreeWidgetItem(found->second)
                                       : new QTreeWidgetItem(view);
    item->setText(0, toQString(text));
    nodes_.emplace(++lastNode_, item);
    return lastNode_;
  });
}

void QtWindow::clearTree(Control tree) {
  onWindowThread([&] {
    if (auto* view = qobject_cast<QTreeWidget*>(widget(tree))) {
      view->clear();
      nodes_.clear();
    }
  });
}

Text QtWindow::statusPanel(Control statusBar, int panel) {
  return onWindowThread([&]() -> Text {
    auto* bar = dynamic_cast<StatusPanels*>(widget(statusBar));
    QLabel* label = bar != nullptr ? bar->panel(panel) : nullptr;
    return label != nullptr ? fromQString(label->text()) : Text();
  });
}

void QtWindow::setStatusPanel(Control statusBar, int panel, const Text& text) {
  onWindowThread([&] {
    auto* bar = dynamic_cast<StatusPanels*>(widget(statusBar));
    if (QLabel* label = bar != nullptr ? bar->panel(panel) : nullptr) label->setText(toQString(text));
  });
}

MessageAnswer QtWindow::messageBox(const Text& text, const Text& title, MessageButtons buttons,
                                   MessageIcon icon) {
  return onWindowThread([&] {
    QMessageBox::Icon qtIcon = QMessageBox::NoIcon;
    switch (icon) {
      case MessageIcon::kNone: qtIcon = QMessageBox::NoIcon; break;
      case MessageIcon::kInformation: qtIcon = QMessageBox::Information; break;
      case MessageIcon::kWarning: qtIcon = QMessageBox::Warning; break;
      case MessageIcon::kError: qtIcon = QMessageBox::Critical; break;
    }
    const auto qtButtons = buttons == MessageButtons::kYesNo
                               ? QMessageBox::Yes | QMessageBox::No
                               : QMessageBox::StandardButtons(QMessageBox::Ok);
    QMessageBox box(qtIcon, toQString(title), toEditorText(text).replace(QChar(0x240A), '\n'),
                    qtButtons, this);
    const int pressed = box.exec();
    if (buttons == MessageButtons::kOk) return MessageAnswer::kOk;
    return pressed == QMessageBox::Yes ? MessageAnswer::kYes : MessageAnswer::kNo;
  });
}

std::optional<Text> QtWindow::showFileDialog(Control, const FileDialogRequest& request) {
  return onWindowThread([&]() -> std::optional<Text> {
    QFileDialog dialog(this, toQString(request.title), toQString(request.initialFolder));
    dialog.setAcceptMode(request.kind == FileDialogKind::kSave ? QFileDialog::AcceptSave
                                                               : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.kind == FileDialogKind::kSave ? QFileDialog::AnyFile
                                                             : QFileDialog::ExistingFile);
    dialog.setNameFilters(nameFilters(request.filter));
    if (lastDialogPath_) dialog.selectFile(toQString(*lastDialogPath_));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    lastDialogPath_ = fromQString(dialog.selectedFiles().first());
    return lastDialogPath_;
  });
}

void QtWindow::processEvents() {
  if (QThread::currentThread() == thread()) QCoreApplication::processEvents();
}

void installClosePolicy(QtWindow& window, Program& program) {
  window.setCloseHandler([&program] {
    // A worker may be waiting on this window's thread right now; tearing the program down
    // around it could crash. Ending the process is what closing means while work is under way.
    if (program.activeWorkers() > 0) std::_Exit(0);
  });
}

}  // namespace vellox
