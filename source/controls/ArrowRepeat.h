// The timers behind a held spin-box arrow: after a first wait, a step every 100 ms, and
// after 2.5 s of that a step every 20 ms, until the arrow is let go. The timers notify the
// spin box, which asks stepDue() what each one means.
#pragma once

#include "vstgui.h"

class ArrowRepeat
{
public:
    static constexpr VSTGUI::uint32 kRepeatPeriod = 100;   // ms between steps at first
    static constexpr VSTGUI::uint32 kAccelerateAfter = 2500; // ms of repeating before going fast
    static constexpr VSTGUI::uint32 kFastPeriod = 20;      // ms between fast steps

    explicit ArrowRepeat(VSTGUI::CBaseObject* spinBox);
    ~ArrowRepeat();
    ArrowRepeat(const ArrowRepeat&) = delete;
    ArrowRepeat& operator=(const ArrowRepeat&) = delete;

    // Starts the wait (ms) before the first repeated step.
    void start(VSTGUI::uint32 delay);
    // Stops all three timers.
    void stop();
    // Handles a timer message from `sender`; true when it is the time for a repeated step.
    bool stepDue(VSTGUI::CBaseObject* sender);
    bool isRunning() const;

    VSTGUI::CVSTGUITimer* repeatTimer;     // steps; owned
    VSTGUI::CVSTGUITimer* delayTimer;      // the wait before repeating; owned
    VSTGUI::CVSTGUITimer* accelerateTimer; // switches to fast steps; owned
};
