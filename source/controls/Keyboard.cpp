#include "Keyboard.h"

#include "FilmStrip.h"
#include "MouseGesture.h"
#include <algorithm>
#include <cmath>

using namespace VSTGUI;

namespace {

constexpr int kOctave = 12;
constexpr int kWhitesPerOctave = 7;
// Semitone of each white key of an octave.
constexpr int kWhiteSemitone[kWhitesPerOctave] = {0, 2, 4, 5, 7, 9, 11};
// Semitone of the black key right of each white key; -1 where there is none (E and B).
constexpr int kBlackSemitone[kWhitesPerOctave] = {1, 3, -1, 6, 8, 10, -1};
// The white key a semitone belongs to, or the white key left of a black one.
constexpr int kSlotOfSemitone[kOctave] = {0, 0, 1, 1, 2, 3, 3, 4, 4, 5, 5, 6};

bool isBlackSemitone(int semitone) { return kBlackSemitone[kSlotOfSemitone[semitone]] == semitone; }

} // namespace

Keyboard::Keyboard(const CRect& size, IControlListener* listener, int32 tag, KeyboardListener* notesListener,
                   CBitmap* white, CBitmap* black)
    : CControl(size, listener, tag), keyboardListener(notesListener)
{
    FilmStrip::hold(whiteKeys, white);
    FilmStrip::hold(blackKeys, black);
    if (!white || !black)
        return;
    whiteWidth = int32(white->getWidth());
    blackWidth = int32(black->getWidth());
    whiteHeight = int32(white->getHeight() / 2);
    blackHeight = int32(black->getHeight() / 2);
}

Keyboard::Keyboard(const Keyboard& other)
    : CControl(other), whiteKeys(other.whiteKeys), blackKeys(other.blackKeys), whiteCount(other.whiteCount),
      keyCount(other.keyCount), whiteWidth(other.whiteWidth), blackWidth(other.blackWidth),
      whiteHeight(other.whiteHeight), blackHeight(other.blackHeight), whiteDown(other.whiteDown),
      blackDown(other.blackDown), baseNote(other.baseNote), keyboardListener(other.keyboardListener)
{
    FilmStrip::share(whiteKeys);
    FilmStrip::share(blackKeys);
}

Keyboard::~Keyboard()
{
    FilmStrip::release(whiteKeys);
    FilmStrip::release(blackKeys);
}

void Keyboard::draw(CDrawContext* context)
{
    if (!usable())
        return;
    const CCoord left = int32(size.left);
    const CCoord top = int32(size.top);
    const int32 whites = std::min<int32>(whiteCount, int32(whiteDown.size()));
    for (int32 i = 0; i < whites; ++i)
    {
        const CRect dest(left + i * whiteWidth, top, left + (i + 1) * whiteWidth, top + whiteHeight);
        FilmStrip::drawFrame(context, whiteKeys, dest, whiteHeight, whiteDown[size_t(i)] ? 1 : 0);
    }
    const int32 slots = std::min<int32>(whiteCount - 1, int32(blackDown.size()));
    for (int32 i = 0; i < slots; ++i)
    {
        const int semitone = kBlackSemitone[i % kWhitesPerOctave];
        if (semitone < 0)
            continue;
        if ((i / kWhitesPerOctave) * kOctave + semitone >= keyCount)
            break;
        const CCoord x = left + (i + 1) * whiteWidth - blackWidth / 2;
        const CRect dest(x, top, x + blackWidth, top + blackHeight);
        FilmStrip::drawFrame(context, blackKeys, dest, blackHeight, blackDown[size_t(i)] ? 1 : 0);
    }
    setDirty(false);
}

int32 Keyboard::noteOf(const Key& key) const
{
    const int* table = key.black ? kBlackSemitone : kWhiteSemitone;
    return table[key.index % kWhitesPerOctave] + (key.index / kWhitesPerOctave) * kOctave + baseNote;
}

void Keyboard::sendMidi(int status, int key, int y, bool black)
{
    if (!usable() || key < 0)
        return;
    const int velocity = std::clamp(int(double(y) / (black ? blackHeight : whiteHeight) * 127), 0, 127);
    if (status == kNoteOn)
    {
        const int32 note = noteOf({key, black});
        if (note < 0 || note >= int32(noteOn.size()) || (black && kBlackSemitone[key % kWhitesPerOctave] < 0))
            return;
        noteOn[size_t(note)] = true;
        if (keyboardListener)
            keyboardListener->keyboardMidi(kNoteOn, note, velocity);
    }
    else if (status == kNoteOff)
    {
        auto lowest = std::find(noteOn.begin(), noteOn.end(), true);
        if (lowest == noteOn.end())
            return;
        *lowest = false;
        if (keyboardListener)
            keyboardListener->keyboardMidi(kNoteOff, int(lowest - noteOn.begin()), velocity);
    }
}

// The key under a point relative to the view: black keys take their part of the upper area.
Keyboard::Key Keyboard::keyAt(int32 x, int32 y) const
{
    const int32 lastWhite = std::max(0, std::min<int32>(whiteCount, int32(whiteDown.size())) - 1);
    const int32 white = std::clamp(x / whiteWidth, 0, lastWhite);
    if (y > blackHeight)
        return {white, false};
    const int32 inKey = x - white * whiteWidth;
    const int32 position = white % kWhitesPerOctave;
    const bool blackOnLeft = kBlackSemitone[(position + kWhitesPerOctave - 1) % kWhitesPerOctave] >= 0 && white > 0;
    const bool blackOnRight = kBlackSemitone[position] >= 0 && white < lastWhite;
    const int32 from = blackOnLeft ? blackWidth / 2 : 0;
    const int32 to = blackOnRight ? whiteWidth - blackWidth / 2 : whiteWidth;
    if (inKey >= from && inKey <= to)
        return {white, false};
    return inKey > blackWidth / 2 ? Key{white, true} : Key{white - 1, true};
}

void Keyboard::markPressed(const Key& key)
{
    if (key.black)
        blackDown[size_t(key.index)] = true;
    else
        whiteDown[size_t(key.index)] = true;
    lastKey = key.index;
    lastBlack = key.black;
}

void Keyboard::releaseAll()
{
    whiteDown.fill(false);
    blackDown.fill(false);
}

CMouseEventResult Keyboard::onMouseDown(CPoint& where, const CButtonState& buttons)
{
    if (!MouseGesture::isLeftAlone(buttons) || !usable())
        return kMouseEventHandled;
    mouseIsDown = true;
    const int32 y = int32(where.y - size.top);
    const Key key = keyAt(int32(where.x - size.left), y);
    markPressed(key);
    sendMidi(kNoteOn, key.index, y, key.black);
    invalid();
    return kMouseEventHandled;
}

CMouseEventResult Keyboard::onMouseMoved(CPoint& where, const CButtonState& buttons)
{
    if (!MouseGesture::isLeftAlone(buttons))
        return kMouseEventHandled;
    if (!mouseIsDown)
        return kMouseEventNotHandled;
    const int32 x = std::clamp(int32(where.x - size.left), 0, int32(getWidth()));
    const int32 y = std::clamp(int32(where.y - size.top), 1, std::max(1, int32(getHeight())));
    const Key key = keyAt(x, y);
    const bool sameKey = key.index == lastKey && key.black == lastBlack;
    // Sliding from one black key straight onto another keeps the note.
    if (sameKey || (key.black && lastBlack))
        return kMouseEventHandled;
    releaseAll();
    markPressed(key);
    sendMidi(kNoteOff, key.index, y, key.black);
    invalid();
    sendMidi(kNoteOn, key.index, y, key.black);
    return kMouseEventHandled;
}

CMouseEventResult Keyboard::onMouseUp(CPoint& where, const CButtonState& buttons)
{
    if (!MouseGesture::isLeftAlone(buttons) || !mouseIsDown)
        return kMouseEventHandled;
    releaseAll();
    mouseIsDown = false;
    invalid();
    sendMidi(kNoteOff, lastKey, int32(where.y - size.top), lastBlack);
    return kMouseEventHandled;
}

void Keyboard::setMidiNote(int status, int note)
{
    if (note < 0 || note > 127 || (status != kNoteOn && status != kNoteOff))
        return;
    const int semitone = note % kOctave;
    const int octave = note / kOctave - baseNote / kOctave;
    if (octave < 0)
        return; // below the keyboard
    const int key = octave * kWhitesPerOctave + kSlotOfSemitone[semitone];
    const bool down = status == kNoteOn;
    if (isBlackSemitone(semitone))
    {
        if (key < int(blackDown.size()))
            blackDown[size_t(key)] = down;
    }
    else if (key < int(whiteDown.size()))
        whiteDown[size_t(key)] = down;
    invalid();
}

void Keyboard::setValue(float newValue)
{
    if (!(newValue >= 0.f && newValue < 1.f))
        return;
    const int n = int(newValue * 256);
    if (n < 128)
        setMidiNote(kNoteOff, n);
    else
        setMidiNote(kNoteOn, n - 128);
}
