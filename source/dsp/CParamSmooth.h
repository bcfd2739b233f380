#pragma once

// One-pole smoother: the coefficient is exp(-2 pi / (ms * 0.001f * rate)), so the
// time in ms sets how quickly z settles on a new input value.
class CParamSmooth {
public:
    CParamSmooth(double milliseconds, double sampleRate);

    // Set-up: new coefficients and z = 0. A time or rate that is not finite and above 0
    // is refused (false) and changes nothing.
    bool init(double milliseconds, double sampleRate);

    double process(double x) noexcept; // audio or UI thread, one step; returns z

    double getA() const noexcept { return a; }
    double getB() const noexcept { return b; }

private:
    double a = 0.0; // feedback coefficient, 0..1
    double b = 1.0; // 1 - a
    double z = 0.0; // smoothed value
};
