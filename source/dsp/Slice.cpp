#include "Slice.h"

Slice::Slice() = default;
void Slice::setSamplerate(double) {}
void Slice::setSamplePerBeat(double) {}
void Slice::record(float, float) noexcept {}
void Slice::processStretch() noexcept {}
void Slice::setStart() noexcept {}
void Slice::setSliceStart(int32_t) noexcept {}
void Slice::setFreeze(bool) noexcept {}
void Slice::setPitch(double) noexcept {}
void Slice::setPitchSemitone(int32_t) noexcept {}
void Slice::setPan(float) noexcept {}
void Slice::playSlice(double, int32_t, bool, bool) noexcept {}
void Slice::playSlice2(double, int32_t, bool, bool) noexcept {}
void Slice::playDirect(double, bool) noexcept {}
void Slice::playFreezeDirect(double, int32_t, bool, bool) noexcept {}
void Slice::process(float& left, float& right) noexcept { left = 0.0f; right = 0.0f; }
