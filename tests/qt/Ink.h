// Where drawing left ink on a white image, how Qt itself draws a text and what kind a face is, for
// checking glyphs whatever fonts the machine has.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QString>

#include <cmath>

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

// A Japanese face whose half-width letters share one advance and whose kanji take two, as Qt
// measures it.
inline bool IsJapaneseMonospace(const QFont& Font) {
  const QFontMetricsF M(Font);
  const qreal Half = M.horizontalAdvance(QLatin1Char('W'));
  return M.inFont(QChar(0x65E5)) && M.inFont(QChar(0x3042)) && Half > 0 &&
         std::abs(M.horizontalAdvance(QLatin1Char('i')) - Half) < 0.1 &&
         std::abs(M.horizontalAdvance(QChar(0x65E5)) - 2 * Half) < 0.1;
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
