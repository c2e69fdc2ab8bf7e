#include "window/fonts.h"

#include "window/window_layer.h"

#include <QFontInfo>
#include <QGuiApplication>

#include <algorithm>

namespace {

// Below 14 pixels the two dots over a capital O or U umlaut fade into the
// letter's antialiasing and it reads as a plain O or U.
constexpr int kNormalFloorPixels = 14;
constexpr int kCompactPixels = 10;
constexpr int kLargeScale = 4;

// The compact face: condensed, so that the longest captions (the today
// line, the summer-time line) fit the pixel sizes of their controls.
constexpr const char* kCompactFamily = "DejaVu Sans Condensed";
constexpr const char* kCompactFallbackFamily = "DejaVu Sans";

}  // namespace

QFont NormalFont() {
    // The platform's own choice of face and size; only a size below the floor
    // is raised. Applying it again gives the same font.
    QFont font = QGuiApplication::font();
    font.setPixelSize(std::max(kNormalFloorPixels, QFontInfo(font).pixelSize()));
    return font;
}

QFont CompactFont() {
    QFont font(QString::fromLatin1(kCompactFamily));
    font.setPixelSize(kCompactPixels);
    if (QFontInfo(font).family() == QLatin1String(kCompactFamily)) return font;
    // Without the condensed face, the plain one narrowed by the toolkit to
    // about the condensed width.
    QFont fallback(QString::fromLatin1(kCompactFallbackFamily));
    fallback.setPixelSize(kCompactPixels);
    fallback.setStretch(QFont::SemiCondensed);
    return fallback;
}

QFont LargeFont() {
    QFont font = NormalFont();
    font.setPixelSize(font.pixelSize() * kLargeScale);
    font.setBold(true);
    return font;
}

QFont FontForStyle(unsigned style) {
    if (style & kLargeText) return LargeFont();
    if (style & kCompactText) return CompactFont();
    return NormalFont();
}
