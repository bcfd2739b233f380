// Whole numbers shown by spin boxes and the normalised values that stand for them.
#pragma once

#include "vstgui.h"
#include <algorithm>
#include <cmath>
#include <string>

namespace SpinNumber {

using VSTGUI::int32;

// Absorbs the rounding of a stored float value, so that the value made for a number reads
// back as that number.
constexpr double kSlack = 1e-4;

// The number `value` stands for, truncated toward zero.
inline int32 truncated(float value, int32 minimum, int32 maximum)
{
    return int32(std::trunc(double(minimum) + double(maximum - minimum) * double(value) + kSlack));
}

// The number `value` stands for, rounded up.
inline int32 roundedUp(float value, int32 minimum, int32 maximum)
{
    return minimum + int32(std::ceil(double(maximum - minimum) * double(value) - kSlack));
}

// The value for `number`, within 0..1; 0 for an empty range.
inline float valueOf(int32 number, int32 minimum, int32 maximum)
{
    if (maximum <= minimum)
        return 0.f;
    return std::clamp(float(number - minimum) / float(maximum - minimum), 0.f, 1.f);
}

// "%d" text of `number`, kept to three digits.
inline std::string limitedText(int32 number) { return std::to_string(std::clamp(number, -999, 999)); }

} // namespace SpinNumber
