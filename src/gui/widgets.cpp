#include "gui/widgets.h"

#include <QFrame>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace vellox {

TabControl::TabControl(const QStringList& captions, QWidget* parent)
    : QWidget(parent),
      bar_(new QTabBar(this)),
      stack_(new QStackedWidget(this)),
      pane_(new QFrame(this)) {
  // The pane's border lies below the strip; the pages lie over the whole control and stay
  // transparent, so the border shows through.
  static_cast<QFrame*>(pane_)->setFrameShape(QFrame::StyledPanel);
  pane_->lower();
  bar_->setExpanding(false);  // tabs as wide as their captions
  for (const QString& caption : captions) {
    bar_->addTab(caption);
    stack_->addWidget(new QWidget(stack_));
  }
  bar_->raise();
  QObject::connect(bar_, &QTabBar::currentChanged, stack_, &QStackedWidget::setCurrentIndex);
}

void TabControl::resizeEvent(QResizeEvent*) { relayout(); }

void TabControl::relayout() {
  const int strip = bar_->sizeHint().height();
  stack_->setGeometry(0, 0, width(), height());
  bar_->setGeometry(0, 0, width(), strip);
  pane_->setGeometry(0, strip - 1, width(), height() - strip + 1);
}

QWidget* TabControl::page(int index) const { return stack_->widget(index); }
int TabControl::pageCount() const { return stack_->count(); }
int TabControl::currentIndex() const { return bar_->currentIndex(); }
void TabControl::setCurrentIndex(int index) { bar_->setCurrentIndex(index); }

StatusPanels::StatusPanels(const std::vector<int>& widths, QWidget* parent)
    : QWidget(parent), widths_(widths) {
  for (std::size_t i = 0; i < widths_.size(); ++i) {
    auto* label = new QLabel(this);
    label->setTextFormat(Qt::PlainText);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setIndent(2);
    panels_.push_back(label);
  }
  relayout();
}

QLabel* StatusPanels::panel(int index) const {
  return index >= 0 && index < panelCount() ? panels_[static_cast<std::size_t>(index)] : nullptr;
}

void StatusPanels::resizeEvent(QResizeEvent*) { relayout(); }

void StatusPanels::relayout() {
  int x = 0;
  for (std::size_t i = 0; i < panels_.size(); ++i) {
    const int w = widths_[i] >= 0 ? widths_[i] : std::max(0, width() - x);
    panels_[i]->setGeometry(x, 0, w, height());
    x += w;
  }
}

QPixmap drawPicture(int width, int height, const QString& caption) {
  QPixmap pixmap(width, height);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, height);
  sky.setColorAt(0, QColor(236, 242, 250));
  sky.setColorAt(1, QColor(196, 212, 234));
  QPainterPath card;
  card.addRoundedRect(QRectF(2, 2, width - 4, height - 4), 14, 14);
  p.fillPath(card, sky);
  p.setPen(QPen(QColor(90, 120, 170), 2));
  p.drawPath(card);
  // A stylised "V" of two strokes over a map pin.
  QPainterPath v;
  v.moveTo(width * 0.25, height * 0.22);
  v.lineTo(width * 0.5, height * 0.62);
  v.lineTo(width * 0.75, height * 0.22);
  p.setPen(QPen(QColor(31, 58, 95), width * 0.09, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(v);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(220, 60, 50));
  p.drawEllipse(QPointF(width * 0.5, height * 0.62), width * 0.06, width * 0.06);
  p.setPen(QColor(31, 58, 95));
  QFont font = p.font();
  font.setPixelSize(std::max(10, height / 12));
  font.setBold(true);
  p.setFont(font);
  p.drawText(QRectF(0, height * 0.72, width, height * 0.2), Qt::AlignCenter, caption);
  return pixmap;
}

}  // namespace vellox
