#include <allegro.h>

#include "app/app.h"

int main(int, char**) { return brawnwickMain(); }
END_OF_MAIN()
