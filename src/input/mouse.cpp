#include "input/mouse.h"

#include "platform/platform.h"

void installMouse() {}

bool clickEvent() { return platform::takeClick(); }
bool wheelUpEvent() { return platform::current().wheel > 0; }
bool wheelDownEvent() { return platform::current().wheel < 0; }
