// Small widgets that the main window needs in a shape Qt does not offer directly.
#pragma once

#include <QLabel>
#include <QStackedWidget>
#include <QTabBar>
#include <QWidget>

#include <vector>

namespace vellox {

// A tab control whose pages cover the whole control, tab strip included, so that a page's
// children are placed relative to the control's top-left corner as the layout gives them.
class TabControl final : public QWidget {
 public:
  TabControl(const QStringList& captions, QWidget* parent);
  QWidget* page(int index) const;
  int pageCount() const;
  int currentIndex() const;
  void setCurrentIndex(int index);
  QTabBar* tabBar() const { return bar_; }
  // Places the strip, the pane and the pages for the control's current size.
  void relayout();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QTabBar* bar_;
  QStackedWidget* stack_;
  QWidget* pane_;
};

// A status bar of fixed-width panels; the last panel takes the rest of the bar.
class StatusPanels final : public QWidget {
 public:
  StatusPanels(const std::vector<int>& widths, QWidget* parent);
  QLabel* panel(int index) const;
  int panelCount() const { return static_cast<int>(panels_.size()); }
  // Places the panels for the bar's current size.
  void relayout();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  std::vector<int> widths_;
  std::vector<QLabel*> panels_;
};

// The pictures of the picture boxes, drawn rather than shipped.
QPixmap drawPicture(int width, int height, const QString& caption);

}  // namespace vellox
