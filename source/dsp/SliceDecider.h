#pragma once

#include <cstdint>

// The parameter values one slice decision reads, normalised 0..1.
struct DecisionParams
{
    float fxSelect = 1.0f, filterCut = 0.4f, filterEnv = 1.0f;
    float pitchAmt = 0.35f, pitchRange = 0.5f, up = 0.0f, down = 1.0f, pitchSet = 0.0f, stretch = 0.0f;
    float reverseAmt = 0.4f, rollAmt = 0.5f, panAmt = 0.0f, sliceAmt = 1.0f, noDirect = 0.0f, fxAmt = 0.0f;
    float effectActive[4] = {1.0f, 1.0f, 1.0f, 1.0f}; // reverb, bit crusher, filter, pitch effects
};

// What the random draws chose for the slice that starts now.
struct SliceDecision
{
    static constexpr int32_t kRandomWithNothingEligible = 4;

    int32_t fxId = 0;            // 0 reverb, 1 bit crusher, 2 high-pass, 3 pitch effects, 4 none eligible
    float filterOffset = 0.0f;   // new cutoff offset; only meaningful when filterOffsetDrawn
    bool filterOffsetDrawn = false;
    float rollFraction = 0.25f;  // share of the slice a roll repeats
    bool pitched = false;        // play at semitones instead of rate 1
    int32_t semitones = 0;
    bool reverse = false;
    bool roll = false;
    float pan = 0.5f;            // 0 left, 0.5 centre, 1 right
    int32_t pick = 0;            // slice of the previous bar to repeat
    bool repeat = false;
    bool fxOn = false;           // the effect stage runs on this slice
};

// Draws the random decisions of one slice start. The order and the conditions of the
// draws are fixed: they are what makes a seeded sequence replay exactly.
// `Random` yields 0..2^31-1 from next(), like libc's rand().
class SliceDecider
{
public:
    template <class Random>
    SliceDecision decide(const DecisionParams& p, int32_t slicesPerBeat, int32_t sliceCounter,
                         int32_t outputChannels, Random& random) noexcept;

    // The repeated slice for a draw u in 0..1 (u may be exactly 1).
    static int32_t pickFromTable(int32_t slicesPerBeat, float u) noexcept;

    float panState = 0.0f; // last hard-pan side, 0 or 1

private:
    template <class Random>
    static int32_t drawSemitones(const DecisionParams& p, Random& random) noexcept;

    static bool on(float value) noexcept { return value >= 0.5f; }
};

template <class Random>
int32_t SliceDecider::drawSemitones(const DecisionParams& p, Random& random) noexcept
{
    const auto range = static_cast<int32_t>(12.0f * p.pitchRange);
    if (range < 1)
        return 0;
    const bool up = on(p.up), down = on(p.down), fixed = on(p.pitchSet);
    if (up && down)
    {
        if (fixed)
            return (random.next() & 1) == 1 ? -range : range;
        return random.next() % (2 * range) - range;
    }
    if (up)
        return fixed ? range : random.next() % range;
    if (down)
        return fixed ? -range : -(random.next() % range);
    return 0;
}

template <class Random>
SliceDecision SliceDecider::decide(const DecisionParams& p, int32_t slicesPerBeat, int32_t sliceCounter,
                                   int32_t outputChannels, Random& random) noexcept
{
    SliceDecision d;

    d.fxId = static_cast<int32_t>(4.0f * p.fxSelect);
    if (d.fxId == SliceDecision::kRandomWithNothingEligible)
    {
        int32_t eligible[4];
        int32_t count = 0;
        for (int32_t k = 0; k < 4; ++k)
            if (on(p.effectActive[k]))
                eligible[count++] = k;
        if (count > 0)
            d.fxId = eligible[random.next() % count];
    }

    if (d.fxId == 2)
    {
        d.filterOffset = static_cast<float>(random.next() % 50) / 100.0f * p.filterEnv + p.filterCut;
        d.filterOffsetDrawn = true;
    }

    if (slicesPerBeat == 1 && (random.next() & 3) == 0)
        d.rollFraction = 0.125f;

    if (p.pitchAmt != 0.0f)
    {
        const float x = (on(p.stretch) || static_cast<double>(p.pitchAmt) >= 0.95) ? 9.0f : 8.0f;
        if (random.next() % static_cast<int32_t>(10.0f - p.pitchAmt * x) == 0)
        {
            d.pitched = true;
            d.semitones = drawSemitones(p, random);
        }
    }

    d.reverse = p.reverseAmt != 0.0f && random.next() % static_cast<int32_t>(18.0f - 17.0f * p.reverseAmt) == 0;
    d.roll = p.rollAmt != 0.0f && random.next() % static_cast<int32_t>(20.0f - 18.0f * p.rollAmt) == 0;

    if (p.panAmt != 0.0f && outputChannels > 1
        && random.next() % static_cast<int32_t>(12.0f - 11.0f * p.panAmt) == 0)
    {
        panState = panState == 0.0f ? 1.0f : 0.0f;
        d.pan = panState;
    }

    const float u = static_cast<float>(random.next()) * 4.656613e-10f;
    d.pick = pickFromTable(slicesPerBeat, u);

    const bool noDirect = on(p.noDirect);
    if (p.sliceAmt == 0.0f)
    {
        d.repeat = noDirect;
        if (noDirect)
            d.pick = sliceCounter;
    }
    else
    {
        const auto k = static_cast<int32_t>(7.0f - 7.0f * p.sliceAmt);
        d.repeat = k == 0 || random.next() % k == 0;
        if (noDirect)
        {
            const auto m = static_cast<int32_t>(10.0f * p.sliceAmt);
            if (m == 0)
            {
                random.next(); // drawn and discarded: keeps the sequence aligned
                d.pick = sliceCounter;
            }
            else if (random.next() % m == 0)
            {
                d.pick = sliceCounter;
            }
            d.repeat = true;
        }
    }

    int32_t activeEffects = 0;
    for (float flag : p.effectActive)
        activeEffects += on(flag) ? 1 : 0;
    if (activeEffects != 0 && p.fxAmt != 0.0f)
        d.fxOn = random.next() % static_cast<int32_t>(8.0f - 7.0f * p.fxAmt) == 0;

    return d;
}
