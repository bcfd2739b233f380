// The FX panel's value texts, each from a normalised value in single precision, truncated.
#pragma once

#include <string>

// Room size 1..800.
std::string convertRoom(float value);
// Cutoff 40..10000.
std::string convertHz(float value);
// "dry/wet" shares in percent, the dry share first: 0.6 gives "40/60".
std::string convertDryWet(float value);
// "scratch", "tapestop " or "vibrato"; "" outside 0..1.
std::string convertPitchFx(float value);
