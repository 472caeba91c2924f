#include "corvane/shell/QtStatusBar.h"

#include <QCoreApplication>
#include <QPainter>
#include <cmath>

namespace corvane {

namespace {
const QColor Cream(255, 251, 240);
}

QtStatusBar::QtStatusBar(QWidget* parent) : QWidget(parent) {
  setFixedHeight(BarHeight);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize QtStatusBar::sizeHint() const {
  return {PanelWidths[0] + PanelWidths[1] + PanelWidths[2] + PanelWidths[3], BarHeight};
}

int QtStatusBar::panelLeft(int panel) const {
  int left = 0;
  for (int i = 0; i < panel; ++i) {
    left += PanelWidths[static_cast<std::size_t>(i)];
  }
  return left;
}

void QtStatusBar::setPanelText(int panel, const QString& text) {
  if (panel < 0 || panel >= static_cast<int>(texts_.size())) {
    return;
  }
  texts_[static_cast<std::size_t>(panel)] = text;
  if (panel == 1) {
    progress_ = Progress::None;
  }
  update();
}

QString QtStatusBar::panelText(int panel) const {
  if (panel < 0 || panel >= static_cast<int>(texts_.size())) {
    return {};
  }
  return texts_[static_cast<std::size_t>(panel)];
}

// Rectangles as left, top, right, bottom (right and bottom outside), turned into QRect.
QRect QtStatusBar::frameRect() const {
  const int w0 = PanelWidths[0];
  const int w1 = PanelWidths[1];
  return QRect(QPoint(w0 + 4, 4), QPoint(w0 + w1 - 2 - 1, height() - 3 - 1));
}

QRect QtStatusBar::barRect() const {
  const int w0 = PanelWidths[0];
  return QRect(QPoint(w0 + 5, 5), QPoint(barRight_ - 1, height() - 4 - 1));
}

void QtStatusBar::DrawStatusProgress(double percent) {
  const Progress before = progress_;
  const int barBefore = barRight_;
  if (!(percent > 0)) {
    setPanelText(1, QString(10, ' '));
    QCoreApplication::processEvents();
    progress_ = Progress::Frame;
    barRight_ = 0;
  } else if (percent < 99) {
    const int w0 = PanelWidths[0];
    const int w1 = PanelWidths[1];
    barRight_ = w0 + 5 + static_cast<int>(std::trunc((w1 - 7) * percent / 100));
    progress_ = Progress::Bar;
  } else {
    progress_ = Progress::Wiped;
    barRight_ = 0;
    QCoreApplication::processEvents();
  }
  // Painted at once when the picture changes, a growing bar at most once a frame: a fill
  // reports every entry.
  constexpr qint64 FrameMs = 16;
  const QRect panel(PanelWidths[0], 0, PanelWidths[1], height());
  if (progress_ != before) {
    repaint(panel);
    sinceBarPainted_.start();
  } else if (barRight_ != barBefore) {
    if (!sinceBarPainted_.isValid() || sinceBarPainted_.elapsed() >= FrameMs) {
      repaint(panel);
      sinceBarPainted_.start();
    } else {
      update(panel);
    }
  }
}

void QtStatusBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QColor face = palette().color(QPalette::Button);
  painter.fillRect(rect(), face);
  const QColor shadow = palette().color(QPalette::Dark);
  const QColor light = palette().color(QPalette::Light);
  for (int panel = 0; panel < static_cast<int>(texts_.size()); ++panel) {
    const int left = panelLeft(panel);
    const QRect field(left, 2, PanelWidths[static_cast<std::size_t>(panel)] - 2, height() - 2);
    painter.setPen(shadow);
    painter.drawLine(field.topLeft(), field.topRight());
    painter.drawLine(field.topLeft(), field.bottomLeft());
    painter.setPen(light);
    painter.drawLine(field.bottomLeft(), field.bottomRight());
    painter.drawLine(field.topRight(), field.bottomRight());
    const Qt::Alignment alignment =
        (panel == 3 ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignVCenter;
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(field.adjusted(3, 0, -3, 0), alignment,
                     texts_[static_cast<std::size_t>(panel)]);
  }
  switch (progress_) {
    case Progress::None:
      break;
    case Progress::Frame:
      painter.fillRect(frameRect(), face);
      painter.setPen(Qt::black);
      painter.setBrush(Qt::NoBrush);
      painter.drawRect(frameRect().adjusted(0, 0, -1, -1));
      break;
    case Progress::Bar:
      painter.fillRect(frameRect(), face);
      painter.setPen(Qt::black);
      painter.drawRect(frameRect().adjusted(0, 0, -1, -1));
      painter.fillRect(barRect(), Cream);
      break;
    case Progress::Wiped:
      painter.fillRect(frameRect(), face);
      break;
  }
}

}  // namespace corvane
