#pragma once
// Clicks (press and release on the same pixel) and wheel steps, as the current input has them.

// True once per click of the current input.
bool clickEvent();
bool wheelUpEvent();
bool wheelDownEvent();
void installMouse();
