#pragma once
// Level play: one campaign, one level at a time.

// Plays a campaign from the given level with the given counters, then restores the menu screen.
void game(int level, int points, int impactBullets, int buzzsawBullets, int lives);

// Plays one attempt at a level. 0 won (next level exists), 1 died, 2 last level won, 3 quit.
int doMap(int level, float* depthBuffer, int** columns, int& points, int& impactBullets, int& buzzsawBullets,
          int& lives);
