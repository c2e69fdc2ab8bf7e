// The faces, colours and page measures of the printed year, in points (the
// painters work at 72 units per inch).
#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QSizeF>

#include "print/printed_year.h"

// DejaVu Sans at size points; condensed for the grid's many times.
QFont PrintFace(double size, bool bold = false, bool condensed = false);

// The sheet in landscape, in points: A4 841.89 x 595.28, Letter 792 x 612.
QSizeF PageSize(PrintedPaper paper);
inline constexpr double kPageMargin = 28.35;  // 10 mm

// The fills stay apart when printed in grey (luminance 0.299 R + 0.587 G +
// 0.114 B): summer time about 207, polar day 235, night 168, day white.
inline const QColor kInk{0x00, 0x00, 0x00};
inline const QColor kRule{0xA0, 0xA0, 0xA0};
inline const QColor kSummerTint{0xF5, 0xC9, 0x8C};  // where summer time is in force
inline const QColor kNight{0x9A, 0xA9, 0xC9};
inline const QColor kPolarDay{0xFF, 0xF0, 0xA0};     // the Sun above all day
inline const QColor kSunriseLine{0xC0, 0x60, 0x00};
inline const QColor kSunsetLine{0xA0, 0x1C, 0x1C};
