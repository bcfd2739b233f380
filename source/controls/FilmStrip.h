// Film strips (frames stacked vertically) and the references widgets hold on their pictures.
#pragma once

#include "vstgui.h"

namespace FilmStrip {

// Pixels per frame of a strip of `frames` frames; 0 when the strip is missing, failed to load
// or is shorter than its frame count, so that nothing is drawn from it.
VSTGUI::int32 frameHeight(const VSTGUI::CBitmap* strip, VSTGUI::int32 frames);

// Draws frame `index` of `strip` into the top of `dest`, no more than one frame high. Draws
// nothing for a frame height of 0 or less, a negative index or a frame that lies (even partly)
// beyond the strip's end.
void drawFrame(VSTGUI::CDrawContext* context, VSTGUI::CBitmap* strip, const VSTGUI::CRect& dest,
               VSTGUI::int32 frameHeight, VSTGUI::int32 index);

// Replaces the picture held in `slot`: the new one is referenced, the old one released.
void hold(VSTGUI::CBitmap*& slot, VSTGUI::CBitmap* picture);
// Releases the picture held in `slot` and empties it.
void release(VSTGUI::CBitmap*& slot);
// A copied widget takes its own reference on a picture it shares with the original.
void share(VSTGUI::CBitmap* picture);

} // namespace FilmStrip
