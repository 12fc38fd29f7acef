// Where drawing left ink on a white image, and how Qt itself draws a text, for comparing glyphs
// whatever font the machine has.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QString>

namespace tesvarin {

// The smallest rectangle inside Area holding every pixel that differs from Background.
inline QRect InkBox(const QImage& Image, const QRect& Area, QRgb Background = qRgb(255, 255, 255)) {
  QRect Box;
  const QRect Inside = Area & Image.rect();
  for (int Y = Inside.top(); Y <= Inside.bottom(); ++Y)
    for (int X = Inside.left(); X <= Inside.right(); ++X)
      if (Image.pixel(X, Y) != Background) Box |= QRect(X, Y, 1, 1);
  return Box;
}

// Text as Qt lays it out and draws it in black on white, with its own fallback, cut to its ink.
inline QImage QtDrawn(const QFont& Font, const QString& Text) {
  const QFontMetrics M(Font);
  QImage Image(M.horizontalAdvance(Text) + 4 * M.height(), 3 * M.height(), QImage::Format_RGB32);
  Image.fill(Qt::white);
  QPainter Painter(&Image);
  Painter.setFont(Font);
  Painter.setPen(Qt::black);
  Painter.drawText(2 * M.height(), 2 * M.height(), Text);
  Painter.end();
  return Image.copy(InkBox(Image, Image.rect()));
}

}  // namespace tesvarin
