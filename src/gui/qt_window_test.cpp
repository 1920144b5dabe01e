// The Qt window, on Qt's offscreen platform: its controls against the layout table, the Window
// contract across threads, start-up and closing.
#include "gui/qt_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QTreeWidget>

#include <atomic>
#include <chrono>
#include <thread>

#include "app/program.h"
#include "app/testing/fakes.h"
#include "gui/qt_text.h"
#include "gui/widgets.h"
#include "text/codepage.h"

namespace vellox {
namespace {

QApplication& app() {
  static int argc = 1;
  static char name[] = "gui_test";
  static char* argv[] = {name, nullptr};
  static QApplication application(argc, argv);
  return application;
}

// Runs the event loop until `done` holds or five seconds pass; returns `done()`.
template <typename Done>
bool pumpUntil(Done done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!done() && std::chrono::steady_clock::now() < deadline) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return done();
}

bool hasKind(QWidget* w, ControlKind kind) {
  switch (kind) {
    case ControlKind::kLabel: return qobject_cast<QLabel*>(w) != nullptr;
    case ControlKind::kLineEdit: return qobject_cast<QLineEdit*>(w) != nullptr;
    case ControlKind::kMultiLineEdit: return qobject_cast<QPlainTextEdit*>(w) != nullptr;
    case ControlKind::kComboBox: {
      auto* combo = qobject_cast<QComboBox*>(w);
      return combo != nullptr && !combo->isEditable();
    }
    case ControlKind::kButton: return qobject_cast<QPushButton*>(w) != nullptr;
    case ControlKind::kGroupBox: return qobject_cast<QGroupBox*>(w) != nullptr;
    case ControlKind::kCheckBox: return qobject_cast<QCheckBox*>(w) != nullptr;
    case ControlKind::kRadioButton: return qobject_cast<QRadioButton*>(w) != nullptr;
    case ControlKind::kTabControl: return dynamic_cast<TabControl*>(w) != nullptr;
    case ControlKind::kTreeView: return qobject_cast<QTreeWidget*>(w) != nullptr;
    case ControlKind::kPictureBox: return qobject_cast<QLabel*>(w) != nullptr;
    case ControlKind::kStatusBar: return dynamic_cast<StatusPanels*>(w) != nullptr;
    case ControlKind::kTimer:
    case ControlKind::kFileDialog: return w == nullptr;
  }
  return false;
}

TEST(QtWindow, EveryControlMatchesTheLayoutTable) {
  app();
  QtWindow window;
  window.show();
  EXPECT_EQ(window.size(), QSize(kClientWidth, kClientHeight));
  EXPECT_EQ(window.pos(), QPoint(kWindowX, kWindowY));
  EXPECT_EQ(window.caption(), "Vellox");

  for (const ControlLayout& entry : windowLayout()) {
    const std::string_view name = controlName(entry.control);
    SCOPED_TRACE(std::string(name));
    QWidget* w = window.findChild<QWidget*>(QString::fromUtf8(name.data(), name.size()));
    EXPECT_EQ(w, window.widget(entry.control)) << "found by its name";
    ASSERT_TRUE(hasKind(w, entry.kind));
    if (w == nullptr) continue;

    QWidget* expectedParent = &window;
    if (entry.parent) {
      expectedParent = window.widget(*entry.parent);
      if (entry.tabPage >= 0) {
        expectedParent = dynamic_cast<TabControl*>(expectedParent)->page(entry.tabPage);
      }
    }
    EXPECT_EQ(w->parentWidget(), expectedParent);
    if (entry.kind == ControlKind::kStatusBar) {
      // Docked instead; see the spot checks.
    } else if (entry.control == Control::标签5) {
      // Three lines of help: as tall as the font needs, at its place.
      EXPECT_EQ(w->geometry().topLeft(), QPoint(entry.x, entry.y));
      EXPECT_GE(w->height(), entry.height);
      EXPECT_LE(w->geometry().bottom(), w->parentWidget()->height());
    } else {
      EXPECT_EQ(w->geometry(), QRect(entry.x, entry.y, entry.width, entry.height));
    }
    EXPECT_EQ(w->isEnabled(), entry.enabled);
    if (entry.kind == ControlKind::kCheckBox || entry.kind == ControlKind::kRadioButton) {
      EXPECT_EQ(window.ticked(entry.control), entry.ticked);
    }
    if (entry.kind != ControlKind::kComboBox && entry.kind != ControlKind::kStatusBar) {
      EXPECT_EQ(window.text(entry.control), utf8ToGbk(entry.text));
    }
    if (auto* edit = qobject_cast<QPlainTextEdit*>(w)) {
      EXPECT_EQ(edit->isReadOnly(), entry.readOnly);
    }
    if (auto* line = qobject_cast<QLineEdit*>(w)) {
      EXPECT_EQ(line->alignment() == Qt::AlignCenter, entry.integerOnly);
      EXPECT_EQ(line->validator() != nullptr, entry.integerOnly);
    }
  }
  auto* timer = window.findChild<QTimer*>(QString::fromUtf8("时钟_状态条"));
  ASSERT_NE(timer, nullptr);
  EXPECT_FALSE(timer->isActive());
  EXPECT_EQ(window.timerPeriod(Control::时钟_状态条), 0);
}

TEST(QtWindow, SpotChecksAgainstTheWindowDescription) {
  // A few places written out by hand, so that a slip in the layout table is caught too.
  app();
  QtWindow window;
  EXPECT_EQ(window.widget(Control::按钮_采集)->geometry(), QRect(216, 46, 87, 21));
  EXPECT_EQ(window.text(Control::按钮_导出CSV), utf8ToGbk("结果_导出CSV"));
  EXPECT_EQ(window.widget(Control::选择框_展示名称)->parentWidget(), window.widget(Control::分组框1));
  EXPECT_TRUE(window.ticked(Control::选择框_展示名称));
  EXPECT_EQ(window.widget(Control::编辑框_About)->geometry(), QRect(10, 41, 328, 224));
  EXPECT_EQ(window.widget(Control::状态条1)->geometry(), QRect(0, 592, 555, 20))
      << "docked along the bottom edge, below the tab control";
  EXPECT_LE(150 + 440, window.widget(Control::状态条1)->y()) << "nothing on the pages is covered";
  EXPECT_EQ(window.text(Control::标签_标题), "  <Brightmoor>");

  auto* tabs = dynamic_cast<TabControl*>(window.widget(Control::高级选择夹1));
  ASSERT_NE(tabs, nullptr);
  ASSERT_EQ(tabs->tabBar()->count(), 3);
  EXPECT_EQ(tabs->tabBar()->tabText(0), QString::fromUtf8("检索结果"));
  EXPECT_EQ(tabs->tabBar()->tabText(1), QString::fromUtf8("参数配置*慎改"));
  EXPECT_EQ(tabs->tabBar()->tabText(2), QString::fromUtf8("About"));
  EXPECT_EQ(window.currentTab(Control::高级选择夹1), 0);

  auto* bar = dynamic_cast<StatusPanels*>(window.widget(Control::状态条1));
  ASSERT_NE(bar, nullptr);
  const int widths[] = {50, 60, 65, 50, 40, 50, 60, 50, 40};
  int x = 0;
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(bar->panel(i)->geometry(), QRect(x, 0, widths[i], 20)) << "panel " << i;
    x += widths[i];
  }
  EXPECT_EQ(bar->panel(9)->width(), 555 - x) << "the last panel takes the rest";
  EXPECT_EQ(window.statusPanel(Control::状态条1, 2), "NowNum:");

  auto* progress = window.widget(Control::标签_进度2);  // 标签_进度 starts 0 pixels wide
  EXPECT_EQ(progress->grab().toImage().pixelColor(0, 0), QColor(255, 0, 0))
      << "the progress line is red";
}

// Records reactions: which thread ran them and what the text was at that moment.
class Reactions final : public WindowEvents {
 public:
  explicit Reactions(Window& w) : window_(w) {}
  void onCreated() override { ++created; }
  void onClicked(Control) override { ++clicks; }
  void onTextChanged(Control c) override {
    onWindowThread = QThread::currentThread() == qApp->thread();
    seen = window_.text(c);
    ++changes;
  }
  void onItemSelected(Control) override { ++selections; }
  void onTimerTick(Control) override {}

  std::atomic<int> created{0}, clicks{0}, changes{0}, selections{0};
  std::atomic<bool> onWindowThread{false};
  Text seen;

 private:
  Window& window_;
};

TEST(QtWindow, ContractHoldsForCallsFromWorkers) {
  app();
  QtWindow window;
  Reactions reactions(window);
  window.setEvents(&reactions);
  window.show();

  std::atomic<bool> done{false};
  std::atomic<bool> reactedBeforeReturn{false};
  Text readBack;
  std::thread worker([&] {
    window.setText(Control::编辑框_名称, utf8ToGbk("五金"));
    reactedBeforeReturn = reactions.changes == 1 && reactions.onWindowThread;
    readBack = window.text(Control::编辑框_名称);
    done = true;
  });
  EXPECT_TRUE(pumpUntil([&] { return done.load(); }));
  worker.join();
  EXPECT_TRUE(reactedBeforeReturn) << "the reaction ran on the window's thread before setText returned";
  EXPECT_EQ(readBack, utf8ToGbk("五金"));
  EXPECT_EQ(reactions.seen, utf8ToGbk("五金"));

  window.setText(Control::编辑框_名称, utf8ToGbk("五金"));
  EXPECT_EQ(reactions.changes, 2) << "setting the same text again is still a change";

  // Several workers appending at once: every node arrives, each under its own parent.
  constexpr int kWorkers = 4, kListings = 50;
  std::atomic<int> finished{0};
  std::vector<std::thread> workers;
  for (int t = 0; t < kWorkers; ++t) {
    workers.emplace_back([&] {
      for (int i = 0; i < kListings; ++i) {
        const TreeNode parent =
            window.appendTreeNode(Control::树型框_JSON_search, kNoTreeNode, "listing");
        window.appendTreeNode(Control::树型框_JSON_search, parent, "field");
      }
      ++finished;
    });
  }
  EXPECT_TRUE(pumpUntil([&] { return finished == kWorkers; }));
  for (std::thread& t : workers) t.join();
  auto* tree = qobject_cast<QTreeWidget*>(window.widget(Control::树型框_JSON_search));
  ASSERT_EQ(tree->topLevelItemCount(), kWorkers * kListings);
  for (int i = 0; i < tree->topLevelItemCount(); ++i) {
    EXPECT_EQ(tree->topLevelItem(i)->childCount(), 1);
  }
  window.clearTree(Control::树型框_JSON_search);
  EXPECT_EQ(tree->topLevelItemCount(), 0);
}

TEST(QtWindow, ControlsBehaveAsTheProgramExpects) {
  app();
  QtWindow window;
  Reactions reactions(window);
  window.setEvents(&reactions);

  // Multi-line texts keep CR LF, and a lone LF or CR inside a line, exactly.
  const Text fieldList = "searchResultfoLatitude--\n" + utf8ToGbk("纬度") + "\r\nx\ry\r\n";
  window.setText(Control::编辑框_JSON_子路径, fieldList);
  EXPECT_EQ(window.text(Control::编辑框_JSON_子路径), fieldList);

  // Combo boxes: adding selects nothing; selecting from code runs no reaction.
  window.addItem(Control::组合框_正则过滤, utf8ToGbk("不过滤"), 0);
  window.addItem(Control::组合框_正则过滤, utf8ToGbk("名称"), 1);
  EXPECT_EQ(window.selectedItem(Control::组合框_正则过滤), -1);
  EXPECT_EQ(window.text(Control::组合框_正则过滤), "");
  window.selectItem(Control::组合框_正则过滤, 1);
  EXPECT_EQ(window.text(Control::组合框_正则过滤), utf8ToGbk("名称"));
  EXPECT_EQ(window.itemValue(Control::组合框_正则过滤, 1), 1);
  EXPECT_EQ(window.itemText(Control::组合框_正则过滤, 9), "");
  EXPECT_EQ(reactions.selections, 0);

  // Radio buttons can be unticked from code; clicks reach the program.
  window.setTicked(Control::单选框_正则手机, true);
  window.setTicked(Control::单选框_正则手机, false);
  EXPECT_FALSE(window.ticked(Control::单选框_正则手机));
  qobject_cast<QPushButton*>(window.widget(Control::按钮_采集))->click();
  EXPECT_EQ(reactions.clicks, 1);

  window.setLeft(Control::标签_进度2, 120);
  window.setWidth(Control::标签_进度, 119);
  EXPECT_EQ(window.left(Control::标签_进度2), 120);
  EXPECT_EQ(window.width(Control::标签_进度), 119);
  EXPECT_EQ(window.clientWidth(), kClientWidth);
  window.setVisible(Control::树型框_JSON_search, false);
  EXPECT_FALSE(window.visible(Control::树型框_JSON_search));
}

// A program over the Qt window, with no network, files or programs behind it.
struct QtProgram {
  fakes::NoHttp http;
  fakes::NoFiles files;
  fakes::NoLauncher launcher;
  QtWindow window;
  Program program{window, {http, files, launcher}, ProgramConfig{}};
};

TEST(QtWindow, StartupSetsTheCaptionFromItsWorker) {
  app();
  QtProgram p;
  QtWindow& window = p.window;
  Program& program = p.program;
  window.show();
  EXPECT_EQ(window.caption(), "Vellox");
  EXPECT_TRUE(pumpUntil([&] { return window.caption() == "Vellox_1.32"; }));
  EXPECT_TRUE(pumpUntil([&] { return program.activeWorkers() == 0; }));
}

TEST(QtWindow, StartupFillsTheSettingsAndPickers) {
  app();
  QtProgram p;
  QtWindow& window = p.window;
  Program& program = p.program;
  window.show();
  ASSERT_TRUE(pumpUntil([&] { return program.activeWorkers() == 0 && window.caption() == "Vellox_1.32"; }));

  auto* provinces = qobject_cast<QComboBox*>(window.widget(Control::组合框_地区));
  auto* cities = qobject_cast<QComboBox*>(window.widget(Control::组合框_地区1));
  EXPECT_EQ(provinces->currentText(), QString::fromUtf8("所有地区"));
  EXPECT_EQ(cities->currentText(), QString::fromUtf8("所有地区"));
  EXPECT_EQ(provinces->count(), 35);

  // The user picks 台湾省 from the list.
  const int taiwan = provinces->findText(QString::fromUtf8("台湾省"));
  provinces->setCurrentIndex(taiwan);
  emit provinces->activated(taiwan);
  EXPECT_EQ(cities->count(), 23);
  EXPECT_EQ(cities->currentText(), QString::fromUtf8("台湾省"));
  EXPECT_EQ(cities->itemText(22), QString::fromUtf8("高雄市"));

  EXPECT_EQ(window.text(Control::编辑框_JSON_子路径1),
            "searchResultfoTitle*\r\nsearchResultfoZone\r\nsearchResultfoAddress\r\n"
            "searchResultfoUserName\r\nsearchResultfoText\r\nsearchResultfoTp\r\n");
  EXPECT_EQ(window.text(Control::标签_json_name_search), "json_name_search{6}");
  EXPECT_EQ(window.itemCount(Control::组合框_正则过滤), 7);
  EXPECT_EQ(window.text(Control::组合框_正则过滤), utf8ToGbk("不过滤"));

  // Typing into the About box is undone at once.
  auto* about = qobject_cast<QPlainTextEdit*>(window.widget(Control::编辑框_About));
  const Text aboutText = window.text(Control::编辑框_About);
  about->moveCursor(QTextCursor::End);
  about->insertPlainText("x");
  EXPECT_EQ(window.text(Control::编辑框_About), aboutText);

  // Editing the field list re-derives the working paths.
  auto* fields = qobject_cast<QPlainTextEdit*>(window.widget(Control::编辑框_JSON_子路径));
  fields->setPlainText("a#--b");
  EXPECT_EQ(window.text(Control::编辑框_JSON_子路径1), "a\r\n");
  EXPECT_EQ(window.text(Control::编辑框_JSON_titleNAME), "b\r\n");
}

TEST(QtWindow, AnswersClicksWhileTheStartupWorkerRuns) {
  app();
  QtProgram p;
  // When the start-up worker puts the default field list into its box, the worker is waiting on
  // this thread in the middle of its work: the user clicks right then.
  auto* fieldList = qobject_cast<QPlainTextEdit*>(p.window.widget(Control::编辑框_JSON_子路径));
  auto* quiet = qobject_cast<QCheckBox*>(p.window.widget(Control::选择框_静默采集));
  bool clicked = false;
  bool workerRunning = false;
  QObject::connect(fieldList->document(), &QTextDocument::contentsChanged, [&] {
    if (clicked) return;
    clicked = true;
    workerRunning = p.program.activeWorkers() > 0 && p.window.caption() == "Vellox";
    quiet->click();
  });
  p.window.show();
  ASSERT_TRUE(pumpUntil([&] { return p.program.activeWorkers() == 0 && clicked; }));
  EXPECT_TRUE(workerRunning);
  EXPECT_TRUE(p.window.ticked(Control::选择框_静默采集)) << "the click was answered";
  EXPECT_EQ(p.window.caption(), "Vellox_1.32");
  EXPECT_EQ(p.window.text(Control::标签_json_name_search), "json_name_search{6}");
  EXPECT_EQ(p.window.itemCount(Control::组合框_地区), 35);
}

TEST(QtWindowDeathTest, ClosingDuringAWorkersActivityEndsTheProcessAtOnce) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        app();
        QtProgram p;
        QtWindow& window = p.window;
        Program& program = p.program;
        installClosePolicy(window, program);
        window.show();
        std::atomic<bool> busy{false};
        program.startWorker([&] {
          for (int i = 0;; ++i) {  // a worker that keeps writing to the window
            window.setStatusPanel(Control::状态条1, 3, intToText(i));
            busy = true;
          }
        });
        pumpUntil([&] { return busy.load(); });
        window.close();
        std::_Exit(3);  // not reached when closing ends the process
      },
      testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace vellox
