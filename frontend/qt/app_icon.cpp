#include "frontend/qt/app_icon.h"

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace kelvane::frontend::qt {

QPixmap DrawApplicationIcon(int size) {
  QPixmap picture(size, size);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing, true);
  const double unit = size / 16.0;

  // The connector: a metal plug on top with its two contact windows.
  const QRectF plug(5.0 * unit, 0.5 * unit, 6.0 * unit, 4.0 * unit);
  painter.setPen(QPen(QColor(0x5A, 0x5F, 0x66), size >= 32 ? unit * 0.5 : 0.0));
  painter.setBrush(QColor(0xC8, 0xCD, 0xD3));
  painter.drawRect(plug);
  if (size >= 32) {
    painter.setBrush(QColor(0x5A, 0x5F, 0x66));
    painter.setPen(Qt::NoPen);
    painter.drawRect(QRectF(6.3 * unit, 1.6 * unit, 1.2 * unit, 1.2 * unit));
    painter.drawRect(QRectF(8.5 * unit, 1.6 * unit, 1.2 * unit, 1.2 * unit));
  }

  // The body, in a deep blue.
  QPainterPath body;
  body.addRoundedRect(QRectF(3.0 * unit, 4.0 * unit, 10.0 * unit, 11.5 * unit), 1.6 * unit,
                      1.6 * unit);
  painter.setPen(QPen(QColor(0x12, 0x2C, 0x5C), size >= 32 ? unit * 0.5 : 0.0));
  painter.setBrush(QColor(0x1F, 0x4E, 0xA8));
  painter.drawPath(body);

  // The update arrow, pointing up, in a bright green.
  QPolygonF arrow;
  arrow << QPointF(8.0 * unit, 5.6 * unit) << QPointF(11.6 * unit, 9.4 * unit)
        << QPointF(9.4 * unit, 9.4 * unit) << QPointF(9.4 * unit, 13.6 * unit)
        << QPointF(6.6 * unit, 13.6 * unit) << QPointF(6.6 * unit, 9.4 * unit)
        << QPointF(4.4 * unit, 9.4 * unit);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0x4C, 0xD9, 0x64));
  painter.drawPolygon(arrow);
  painter.end();
  return picture;
}

QIcon ApplicationIcon() {
  QIcon icon;
  for (const int size : kIconSizes) {
    icon.addPixmap(DrawApplicationIcon(size));
  }
  return icon;
}

}  // namespace kelvane::frontend::qt
