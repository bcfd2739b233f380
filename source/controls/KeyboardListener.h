// Receives the notes played on an on-screen keyboard.
#pragma once

class KeyboardListener
{
public:
    virtual ~KeyboardListener() = default;
    // status 144 note on, 128 note off; note and velocity 0..127.
    virtual void keyboardMidi(int status, int note, int velocity) = 0;
};
