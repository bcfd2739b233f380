#pragma once
#include "HiddenParameters.h"

// Applies the user's saved UI defaults (hidden settings 0..5) from the settings file, when
// its defaults are switched on. A missing home folder or file leaves the values as they are;
// each value outside 0..1 is refused on its own.
void readHiddenDefaults(HiddenParameters& hidden);
