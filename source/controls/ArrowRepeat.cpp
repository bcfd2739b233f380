#include "ArrowRepeat.h"

using namespace VSTGUI;

ArrowRepeat::ArrowRepeat(CBaseObject* spinBox)
    : repeatTimer(new CVSTGUITimer(spinBox, 100, false)), delayTimer(new CVSTGUITimer(spinBox, 100, false)),
      accelerateTimer(new CVSTGUITimer(spinBox, 100, false))
{
}

ArrowRepeat::~ArrowRepeat()
{
    for (CVSTGUITimer* timer : {repeatTimer, delayTimer, accelerateTimer})
    {
        timer->stop();
        timer->forget();
    }
}

void ArrowRepeat::start(uint32 delay)
{
    stop();
    delayTimer->setFireTime(delay);
    delayTimer->start();
}

void ArrowRepeat::stop()
{
    for (CVSTGUITimer* timer : {repeatTimer, delayTimer, accelerateTimer})
        timer->stop();
}

bool ArrowRepeat::isRunning() const
{
    return repeatTimer->isRunning() || delayTimer->isRunning() || accelerateTimer->isRunning();
}

bool ArrowRepeat::stepDue(CBaseObject* sender)
{
    if (sender == delayTimer)
    {
        delayTimer->stop();
        repeatTimer->setFireTime(kRepeatPeriod);
        repeatTimer->start();
        accelerateTimer->setFireTime(kAccelerateAfter);
        accelerateTimer->start();
    }
    else if (sender == accelerateTimer)
    {
        accelerateTimer->stop();
        repeatTimer->setFireTime(kFastPeriod);
    }
    return sender == repeatTimer;
}
