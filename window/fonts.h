// The layer's fonts, chosen here and nowhere else.
#pragma once

#include <QFont>

// The desktop's normal interface font, at least 14 pixels high: message
// boxes and every window whose size leaves its texts room.
QFont NormalFont();

// A narrow 10-pixel face for a window whose fixed-size controls were laid
// out for it (kCompactText).
QFont CompactFont();

// Four times the normal size, bold, for a few characters read from across
// a room (kLargeText).
QFont LargeFont();

// The font the controls of a window of that style show their texts in.
QFont FontForStyle(unsigned style);
