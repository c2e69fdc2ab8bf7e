// Where a window's outer frame goes when it is opened centred. One axis at a
// time: edges and sizes in screen pixels, sizes those of the outer frame.
#pragma once

// Centred on a screen starting at screenEdge: half the screen minus half the
// smaller of window and screen, each half truncated, so that a window larger
// than the screen starts at the screen's edge.
int CentreOnScreen(int screenEdge, int screenSize, int outerSize);

// Centred on the active window: its edge plus half its outer size minus half
// the new outer size, raised to 0 when negative.
int CentreOnWindow(int activeEdge, int activeOuterSize, int outerSize);
