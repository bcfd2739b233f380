// Plain exported functions that hosts never call; kept for binary compatibility.
#include "pluginterfaces/base/ftypes.h"

extern "C" {
__attribute__((visibility("default"))) Steinberg::int32 SampleAddInt(Steinberg::int32 a, Steinberg::int32 b)
{
    return a + b;
}
__attribute__((visibility("default"))) void SampleFunction1() {}
__attribute__((visibility("default"))) Steinberg::int32 SampleFunction2() { return 0; }
}
