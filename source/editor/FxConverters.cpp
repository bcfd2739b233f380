#include "FxConverters.h"

std::string convertRoom(float value) { return std::to_string(int(value * 799.f + 1.f)); }

std::string convertHz(float value) { return std::to_string(int(value * 9960.f + 40.f)); }

std::string convertDryWet(float value)
{
    // The dry share completes the wet one to 100: single-precision 1 - 0.6 would truncate to 39.
    const int wet = int(100.f * value);
    return std::to_string(100 - wet) + "/" + std::to_string(wet);
}

std::string convertPitchFx(float value)
{
    static const char* const kNames[] = {"scratch", "tapestop ", "vibrato"};
    const float doubled = 2.f * value;
    return doubled >= 0.f && doubled < 3.f ? kNames[int(doubled)] : "";
}
