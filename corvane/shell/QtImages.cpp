#include "corvane/shell/QtImages.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>

#include "corvane/catalogue/service_list.h"

namespace corvane {

namespace {

// Every picture is drawn on a 16 by 16 grid and scaled to the size asked for.
const QColor Outline(40, 40, 40);
const QColor Green(30, 170, 60);
const QColor Red(215, 40, 40);
const QColor Blue(40, 110, 215);
const QColor Amber(240, 170, 20);
const QColor Grey(130, 130, 130);
const QColor Folder(240, 200, 80);

void disc(QPainter& p, const QColor& fill) {
  p.setPen(QPen(fill.darker(150), 1));
  p.setBrush(fill);
  p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
}

void playMark(QPainter& p, const QColor& colour, qreal scale = 1) {
  QPainterPath path;
  const qreal c = 8;
  path.moveTo(c - 3 * scale, c - 4 * scale);
  path.lineTo(c + 4 * scale, c);
  path.lineTo(c - 3 * scale, c + 4 * scale);
  path.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawPath(path);
}

void pauseMark(QPainter& p, const QColor& colour, qreal scale = 1) {
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawRect(QRectF(8 - 3.5 * scale, 8 - 4 * scale, 2.5 * scale, 8 * scale));
  p.drawRect(QRectF(8 + 1 * scale, 8 - 4 * scale, 2.5 * scale, 8 * scale));
}

void crossMark(QPainter& p, const QColor& colour, const QRectF& box, qreal width = 2) {
  p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(box.topLeft(), box.bottomRight());
  p.drawLine(box.topRight(), box.bottomLeft());
}

void letterBadge(QPainter& p, const QColor& fill, const QString& letter) {
  p.setPen(QPen(fill.darker(150), 1));
  p.setBrush(fill);
  p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 3, 3);
  QFont font("Sans");
  font.setPixelSize(11);
  font.setBold(true);
  p.setFont(font);
  p.setPen(Qt::white);
  p.drawText(QRectF(1, 1, 14, 14), Qt::AlignCenter, letter);
}

void gear(QPainter& p, const QColor& fill) {
  QPainterPath path;
  const int teeth = 8;
  for (int i = 0; i < teeth * 2; ++i) {
    const qreal angle = M_PI * i / teeth;
    const qreal radius = (i % 2 == 0) ? 7 : 5.2;
    const QPointF point(8 + radius * std::cos(angle), 8 + radius * std::sin(angle));
    if (i == 0) {
      path.moveTo(point);
    } else {
      path.lineTo(point);
    }
  }
  path.closeSubpath();
  QPainterPath hole;
  hole.addEllipse(QPointF(8, 8), 2.2, 2.2);
  p.setPen(QPen(fill.darker(170), 0.8));
  p.setBrush(fill);
  p.drawPath(path.subtracted(hole));
}

void chip(QPainter& p) {
  p.setPen(QPen(QColor(170, 170, 170), 1));
  for (int i = 0; i < 4; ++i) {
    const qreal x = 4.5 + i * 2.3;
    p.drawLine(QPointF(x, 1), QPointF(x, 3.5));
    p.drawLine(QPointF(x, 12.5), QPointF(x, 15));
  }
  p.setPen(QPen(QColor(90, 140, 90), 1));
  p.setBrush(QColor(35, 75, 45));
  p.drawRect(QRectF(2.5, 3.5, 11, 9));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(220, 190, 60));
  p.drawEllipse(QPointF(5, 6), 1, 1);
}

void folder(QPainter& p, const QColor& fill, bool empty) {
  QPainterPath tab;
  tab.moveTo(1.5, 4);
  tab.lineTo(1.5, 2.5);
  tab.lineTo(6, 2.5);
  tab.lineTo(7.5, 4);
  tab.closeSubpath();
  p.setPen(QPen(fill.darker(160), 1));
  p.setBrush(fill.darker(115));
  p.drawPath(tab);
  p.setBrush(empty ? QColor(255, 255, 255, 0) : fill);
  p.drawRect(QRectF(1.5, 4, 13, 9.5));
}

void padlock(QPainter& p, const QColor& body) {
  p.setPen(QPen(QColor(120, 120, 120), 1.6));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(4.5, 1.5, 7, 8), 0, 180 * 16);
  p.drawLine(QPointF(4.5, 5.5), QPointF(4.5, 7.5));
  p.drawLine(QPointF(11.5, 5.5), QPointF(11.5, 7.5));
  p.setPen(QPen(body.darker(150), 1));
  p.setBrush(body);
  p.drawRoundedRect(QRectF(2.5, 7, 11, 7.5), 1.5, 1.5);
}

void restartArrow(QPainter& p, const QColor& colour) {
  p.setPen(QPen(colour, 2.2, Qt::SolidLine, Qt::FlatCap));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(2.5, 2.5, 11, 11), 60 * 16, 270 * 16);
  QPainterPath head;
  head.moveTo(9.5, 0.5);
  head.lineTo(13.8, 3.6);
  head.lineTo(8.8, 5.8);
  head.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawPath(head);
}

void document(QPainter& p) {
  p.setPen(QPen(Outline, 1));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(3.5, 1.5, 9, 13));
  p.setPen(QPen(Grey, 1));
  for (int i = 0; i < 4; ++i) {
    p.drawLine(QPointF(5.5, 4.5 + i * 2.5), QPointF(10.5, 4.5 + i * 2.5));
  }
}

void hourglassMark(QPainter& p) {
  QPainterPath path;
  path.moveTo(5, 4);
  path.lineTo(11, 4);
  path.lineTo(5, 12);
  path.lineTo(11, 12);
  path.closeSubpath();
  p.setPen(QPen(Qt::white, 1.4));
  p.setBrush(Qt::NoBrush);
  p.drawPath(path);
}

void drawPicture(QPainter& p, int index) {
  switch (index) {
    case image::ToolStart:
      playMark(p, Green, 1.6);
      break;
    case image::ToolStart + 1:
      playMark(p, Grey, 1.6);
      break;
    case image::ToolRestart:
      restartArrow(p, Blue);
      break;
    case image::ToolRestart + 1:
      restartArrow(p, Grey);
      break;
    case image::ToolPause:
      pauseMark(p, Amber.darker(110), 1.5);
      break;
    case image::ToolPause + 1:
      pauseMark(p, Grey, 1.5);
      break;
    case image::ToolStop:
      p.setPen(QPen(Red.darker(140), 1));
      p.setBrush(Red);
      p.drawRect(QRectF(3, 3, 10, 10));
      break;
    case image::ToolStop + 1:
      p.setPen(Qt::NoPen);
      p.setBrush(Grey);
      p.drawRect(QRectF(3, 3, 10, 10));
      break;
    case image::StateStopped:
      disc(p, Red);
      p.setPen(Qt::NoPen);
      p.setBrush(Qt::white);
      p.drawRect(QRectF(5.5, 5.5, 5, 5));
      break;
    case image::StateRunning:
      disc(p, Green);
      playMark(p, Qt::white, 0.8);
      break;
    case image::StatePaused:
      disc(p, Amber);
      pauseMark(p, Qt::white, 0.75);
      break;
    case image::StateOther:
      disc(p, Blue);
      hourglassMark(p);
      break;
    case image::Group:
      folder(p, Folder, false);
      break;
    case image::Service:
    case image::RowService:
      gear(p, QColor(120, 150, 200));
      break;
    case image::NothingToShow:
      p.setPen(QPen(Grey, 1.5));
      p.setBrush(Qt::NoBrush);
      p.drawEllipse(QRectF(2.5, 2.5, 11, 11));
      p.drawLine(QPointF(5, 8), QPointF(11, 8));
      break;
    case image::GroupOutsideOrder: {
      folder(p, QColor(240, 140, 60), false);
      QFont font("Sans");
      font.setPixelSize(9);
      font.setBold(true);
      p.setFont(font);
      p.setPen(Qt::white);
      p.drawText(QRectF(1, 4, 14, 10), Qt::AlignCenter, "?");
      break;
    }
    case image::AuditFailure:
      padlock(p, QColor(200, 60, 60));
      crossMark(p, Qt::white, QRectF(6, 8.5, 4, 4), 1.5);
      break;
    case image::EventError:
      disc(p, Red);
      crossMark(p, Qt::white, QRectF(5.5, 5.5, 5, 5));
      break;
    case image::EventInformation: {
      disc(p, Blue);
      p.setPen(Qt::NoPen);
      p.setBrush(Qt::white);
      p.drawEllipse(QPointF(8, 4.8), 1.2, 1.2);
      p.drawRect(QRectF(7, 7, 2, 5.5));
      break;
    }
    case image::EventWarning: {
      QPainterPath triangle;
      triangle.moveTo(8, 1.5);
      triangle.lineTo(15, 14.5);
      triangle.lineTo(1, 14.5);
      triangle.closeSubpath();
      p.setPen(QPen(Amber.darker(160), 1));
      p.setBrush(QColor(250, 210, 40));
      p.drawPath(triangle);
      p.setPen(Qt::NoPen);
      p.setBrush(Outline);
      p.drawRect(QRectF(7.2, 5.5, 1.6, 5));
      p.drawEllipse(QPointF(8, 12.3), 0.9, 0.9);
      break;
    }
    case image::InvalidSnapshotEntry:
      document(p);
      crossMark(p, Red, QRectF(4, 5, 8, 8), 2.2);
      break;
    case image::StartOther:
      letterBadge(p, QColor(110, 110, 120), "S");
      break;
    case image::StartAutomatic:
      letterBadge(p, Green, "A");
      break;
    case image::StartDisabled:
      letterBadge(p, Red, "D");
      break;
    case image::StartManual:
      letterBadge(p, Blue, "M");
      break;
    case image::ServiceNotInstalled:
      gear(p, QColor(170, 170, 170));
      crossMark(p, Red, QRectF(3.5, 3.5, 9, 9), 2.2);
      break;
    case image::EmptyGroup:
      folder(p, Folder, true);
      break;
    case image::TreeDriver:
    case image::RowDriver:
      chip(p);
      break;
    case image::AuditSuccess:
      padlock(p, QColor(220, 180, 50));
      break;
    default:
      break;  // no role: left transparent
  }
}

}  // namespace

QImage QtImageList::drawBase(int index, int size) {
  QImage picture(size, size, QImage::Format_ARGB32_Premultiplied);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.scale(size / 16.0, size / 16.0);
  drawPicture(painter, index);
  return picture;
}

QtImageList::QtImageList() {
  icons_.reserve(image::BaseImageCount + 64);
  for (int index = 0; index < image::BaseImageCount; ++index) {
    QIcon icon;
    for (const int size : {16, 32}) {
      icon.addPixmap(QPixmap::fromImage(drawBase(index, size)));
    }
    icons_.push_back(icon);
  }
}

QIcon QtImageList::icon(int index) const {
  if (index < 0 || index >= count()) {
    return {};
  }
  return icons_[static_cast<std::size_t>(index)];
}

int QtImageList::append(const QIcon& icon) {
  icons_.push_back(icon);
  return count() - 1;
}

void QtImageList::trimTo(int count) {
  if (count >= 0 && count < this->count()) {
    icons_.resize(static_cast<std::size_t>(count));
  }
}

}  // namespace corvane
