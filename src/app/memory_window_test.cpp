#include "app/memory_window.h"

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>
#include <vector>

#include "text/codepage.h"

namespace vellox {
namespace {

// Records each reaction with the text the control had when the reaction ran.
class RecordingEvents final : public WindowEvents {
 public:
  explicit RecordingEvents(Window& window) : window_(window) {}
  void onCreated() override { ++created; }
  void onClicked(Control c) override { clicked.push_back(c); }
  void onTextChanged(Control c) override {
    changed.push_back(c);
    lastSeenText = window_.text(c);
  }
  void onItemSelected(Control c) override { selected.push_back(c); }
  void onTimerTick(Control) override { ++ticks; }

  int created = 0, ticks = 0;
  std::vector<Control> clicked, changed, selected;
  Text lastSeenText;

 private:
  Window& window_;
};

TEST(MemoryWindow, StartsFromTheLayout) {
  MemoryWindow w;
  EXPECT_EQ(w.caption(), "Vellox");
  EXPECT_EQ(w.text(Control::按钮_采集), utf8ToGbk("采集_开始"));
  EXPECT_TRUE(w.enabled(Control::按钮_采集));
  EXPECT_FALSE(w.enabled(Control::按钮_暂停));
  EXPECT_FALSE(w.enabled(Control::按钮_继续));
  EXPECT_FALSE(w.enabled(Control::按钮_导出CSV));
  EXPECT_TRUE(w.ticked(Control::选择框_展示名称));
  EXPECT_FALSE(w.ticked(Control::选择框_跳过空白项目));
  EXPECT_EQ(w.text(Control::编辑框_JSON_子路径1), "*");
  EXPECT_FALSE(w.enabled(Control::编辑框_JSON_子路径1));
  EXPECT_EQ(w.width(Control::标签_进度), 0);
  EXPECT_EQ(w.width(Control::标签_进度2), 1);
  EXPECT_EQ(w.timerPeriod(Control::时钟_状态条), 0);
  EXPECT_EQ(w.statusPanel(Control::状态条1, 0), "Number:");
  EXPECT_EQ(w.statusPanel(Control::状态条1, 8), "0%");
  EXPECT_EQ(w.currentTab(Control::高级选择夹1), 0);
}

TEST(MemoryWindow, ReactionsFollowTheContract) {
  MemoryWindow w;
  RecordingEvents events(w);
  w.setEvents(&events);

  w.setText(Control::编辑框_JSON_titleNAME, "a\r\nb");
  ASSERT_EQ(events.changed.size(), 1u) << "a text set from code is a change";
  EXPECT_EQ(events.lastSeenText, "a\r\nb") << "the reaction sees the new text";

  w.addItem(Control::组合框_地区, "x", 1);
  w.addItem(Control::组合框_地区, "y", 2);
  w.selectItem(Control::组合框_地区, 1);
  EXPECT_TRUE(events.selected.empty()) << "selecting from code runs no reaction";
  EXPECT_EQ(w.text(Control::组合框_地区), "y");
  w.userSelects(Control::组合框_地区, 0);
  EXPECT_EQ(events.selected, std::vector<Control>{Control::组合框_地区});
  w.selectItem(Control::组合框_地区, 7);
  EXPECT_EQ(w.selectedItem(Control::组合框_地区), -1);
  EXPECT_EQ(w.text(Control::组合框_地区), "") << "no selection, no text";
  EXPECT_EQ(w.itemText(Control::组合框_地区, 5), "");
  EXPECT_EQ(w.itemValue(Control::组合框_地区, -1), 0);

  w.userClicks(Control::按钮_暂停);
  EXPECT_TRUE(events.clicked.empty()) << "a disabled button ignores clicks";
  w.userClicks(Control::选择框_静默采集);
  EXPECT_TRUE(w.ticked(Control::选择框_静默采集));
  w.userClicks(Control::单选框_正则手机);
  w.userClicks(Control::单选框_正则座机);
  EXPECT_FALSE(w.ticked(Control::单选框_正则手机)) << "radio buttons exclude each other";
  EXPECT_TRUE(w.ticked(Control::单选框_正则座机));
  EXPECT_EQ(events.clicked.size(), 3u);
}

TEST(MemoryWindow, ScriptedDialogsAndMessages) {
  MemoryWindow w;
  EXPECT_EQ(w.showFileDialog(Control::通用对话框_配置, {}), std::nullopt) << "no script: cancelled";
  w.queueFileDialogAnswer(Text("/tmp/a.csv"));
  w.queueFileDialogAnswer(std::nullopt);
  EXPECT_EQ(w.showFileDialog(Control::通用对话框_配置, {FileDialogKind::kSave, "t", "d", "f"}),
            Text("/tmp/a.csv"));
  EXPECT_EQ(w.showFileDialog(Control::通用对话框_配置, {}), std::nullopt);
  EXPECT_EQ(w.proposedDialogPath(Control::通用对话框_配置), Text("/tmp/a.csv"))
      << "a cancelled use keeps the last chosen path";
  ASSERT_EQ(w.fileDialogRequests().size(), 3u);
  EXPECT_EQ(w.fileDialogRequests()[1].title, "t");

  EXPECT_EQ(w.messageBox("q", "t", MessageButtons::kYesNo, MessageIcon::kNone), MessageAnswer::kNo);
  w.queueMessageAnswer(MessageAnswer::kYes);
  EXPECT_EQ(w.messageBox("q2", "t", MessageButtons::kYesNo, MessageIcon::kNone), MessageAnswer::kYes);
  ASSERT_EQ(w.shownMessages().size(), 2u);
  EXPECT_EQ(w.shownMessages()[1].text, "q2");
}

TEST(MemoryWindow, CallsFromSeveralThreadsAreSerialised) {
  MemoryWindow w;
  RecordingEvents events(w);
  w.setEvents(&events);
  constexpr int kThreads = 4, kNodes = 250;
  std::vector<std::thread> threads;
  std::atomic<int> sawOwnText{0};
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < kNodes; ++i) {
        const TreeNode parent = w.appendTreeNode(Control::树型框_JSON_search, kNoTreeNode, "p");
        w.appendTreeNode(Control::树型框_JSON_search, parent, "c" + std::to_string(t));
      }
      // Setting a text from a worker: when the call returns, the text is there.
      const Text mine = "worker " + std::to_string(t);
      w.setText(Control::编辑框_名称, mine);
      if (!w.text(Control::编辑框_名称).empty()) ++sawOwnText;
    });
  }
  for (std::thread& t : threads) t.join();
  const auto nodes = w.treeNodes(Control::树型框_JSON_search);
  ASSERT_EQ(nodes.size(), 2u * kThreads * kNodes);
  std::set<TreeNode> ids;
  for (const auto& n : nodes) ids.insert(n.node);
  EXPECT_EQ(ids.size(), nodes.size()) << "every node has its own id";
  EXPECT_EQ(events.changed.size(), static_cast<std::size_t>(kThreads));
  EXPECT_EQ(sawOwnText, kThreads);
}

}  // namespace
}  // namespace vellox
