#pragma once
// The program's spine: start-up, intro, main-menu loop, shut-down.

// Starts the library and its drivers; any failure ends the program with its message.
void init();
// Settings and resources, the loading screen, the timer: all that comes before the intro.
void startUp();
// Everything after the library started: settings and resources, the intro, the main menu until
// "Exit", shut-down. Returns the exit code.
int playGame();
int brawnwickMain();
