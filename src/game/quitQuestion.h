#pragma once
// The question Esc asks during play.

// "Quit current game and" / "return to main menu?" with "Yes" and "Oh no!"; true for "Yes".
bool askQuitQuestion();
// After the question: the click, and on "Yes" the key that answered, are used up.
void settleQuitAnswer(bool quit);
