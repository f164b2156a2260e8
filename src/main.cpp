#include <allegro.h>

#include "core/app.h"

int main(int, char**) { return brawnwickMain(); }
END_OF_MAIN()
