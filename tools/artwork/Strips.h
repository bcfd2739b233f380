#pragma once

#include "Controls.h"
#include "Picture.h"

// Builders for the kinds of picture that both faces share.
namespace artwork {

// A square knob strip: frame 0 the minimum, the last frame the maximum.
Picture knobStrip(std::string base, int size, int frames, const KnobLook& look);

// A two-frame key: frame 0 off, frame 1 on (lit and sunk). The key fills keyBox of the frame;
// the rest stays clear so the panel's label shows through.
Picture keyStrip(std::string base, int width, int height, Box keyBox, const KeyLook& look, Glyph glyph);

// A still key, the same picture for normal and pressed.
Picture stillKey(std::string base, Scheme scheme, int width, int height, Box keyBox, const KeyLook& look,
                 Glyph glyph, bool lit = false);

// A two-frame lamp: frame 0 dark, frame 1 lit, centred at (centreX, centreY) of the frame.
Picture lampStrip(std::string base, int width, int height, double centreX, double centreY, double radius,
                  const LampLook& look);

// A single lamp picture in one state, the lamp in its middle.
Picture stillLamp(std::string base, int width, int height, double radius, const LampLook& look, bool lit);

} // namespace artwork
