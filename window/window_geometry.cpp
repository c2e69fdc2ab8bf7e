#include "window/window_geometry.h"

#include <algorithm>

int CentreOnScreen(int screenEdge, int screenSize, int outerSize) {
    return screenEdge + screenSize / 2 - std::min(outerSize, screenSize) / 2;
}

int CentreOnWindow(int activeEdge, int activeOuterSize, int outerSize) {
    return std::max(0, activeEdge + activeOuterSize / 2 - outerSize / 2);
}
