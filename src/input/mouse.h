#pragma once
// Clicks (press and release on the same pixel) and wheel steps, detected on the timer thread.
#include <atomic>

extern std::atomic<int> mouseZDiff;
extern std::atomic<int> oldMouseZ;
extern std::atomic<int> clickPosX;
extern std::atomic<int> clickPosY;
extern std::atomic<bool> click;
extern std::atomic<bool> down;

void installMouse();
void mouseCallback(int flags);
bool clickEvent();
void drawMouse();
bool wheelUpEvent();
bool wheelDownEvent();
