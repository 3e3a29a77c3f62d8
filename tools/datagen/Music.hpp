#pragma once

#include "XmWriter.hpp"

namespace datagen {

// The game's theme: a bouncy minor-key romp that loops for as long as the
// game runs, with synthesised bass, lead, arpeggio and drums.
XmModule composeTheme();

} // namespace datagen
