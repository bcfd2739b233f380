// Turns a control's normalised value into the text it shows (without its unit).
#pragma once

#include <string>

using ValueConverter = std::string (*)(float value);

// Whole percent, truncated: 0.5 gives "50", 0.999 gives "99", 1.0 gives "100".
std::string convertPercent(float value);
