#pragma once
// The program's spine: start-up, intro, main-menu loop, shut-down.

void init();
void timerCounterUpdater();
int brawnwickMain();
