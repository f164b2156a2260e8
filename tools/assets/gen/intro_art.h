// Pictures of the studio intro: background hall, studio logo and the corner emblem.
#pragma once
#include "image.h"

namespace gen {

// Dark stone hall lit from the centre, with a pale limestone ledge along the bottom on which
// the black version lines and the emblem sit.
Image introBackground();

// "Quenmoor" in gold on an iron banner with pointed ends.
Image studioLogo(const Image& word);

// A square badge: bronze frame, red field, a gold Q under three merlons.
Image emblem(const Image& letter);

}  // namespace gen
