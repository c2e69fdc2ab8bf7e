// The faces, colours and page measures of the printed year, in points (the
// painters work at 72 units per inch).
#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>

// DejaVu Sans at size points; condensed for the grid's many times.
QFont PrintFace(double size, bool bold = false, bool condensed = false);

// A4 landscape, in points.
inline constexpr double kPageWidth = 841.89, kPageHeight = 595.28;
inline constexpr double kPageMargin = 28.35;  // 10 mm

inline const QColor kInk{0x20, 0x20, 0x20};
inline const QColor kRule{0xA0, 0xA0, 0xA0};
inline const QColor kSummerTint{0xFB, 0xE0, 0xB8};  // where summer time is in force
inline const QColor kNight{0x4A, 0x5A, 0x7C};
inline const QColor kPolarDay{0xFF, 0xEB, 0x99};     // the Sun above all day
inline const QColor kSunriseLine{0xE0, 0x7B, 0x00};
inline const QColor kSunsetLine{0xB8, 0x24, 0x24};

// English month names, January first.
inline constexpr const char* kMonthNames[12] = {"January", "February", "March",     "April",   "May",      "June",
                                                "July",    "August",   "September", "October", "November", "December"};
