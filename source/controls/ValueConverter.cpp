#include "ValueConverter.h"

std::string convertPercent(float value)
{
    const float percent = value * 100.f; // single precision, as the text has always been made
    return std::to_string(int(percent));
}
