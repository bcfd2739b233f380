#pragma once

#include "Controls.h"

// The two faces of the instrument: a dark rack unit with a blue accent, and a lighter,
// warmer older face with brown lettering.
namespace artwork {

// The product's name as both faces print it.
inline const char* const productTitle = "VEXTORIA 3";

namespace rack {
const Colour accent = rgb(0, 170, 255); // the scope's blue
const Colour panelTop = rgb(62, 64, 69), panelBottom = rgb(38, 40, 44);
const Colour labelText = rgb(196, 199, 205), labelShadow = rgb(0, 0, 0, 0.75);
const Colour glassTop = rgb(10, 18, 30), glassBottom = rgb(2, 5, 11);

const KnobLook knob{.arcRadius = 23, .arcWidth = 2.6, .bodyRadius = 16.5,
                    .arcTrack = rgb(22, 24, 28), .arcValue = accent,
                    .bodyTop = rgb(96, 99, 106), .bodyBottom = rgb(34, 36, 40), .rim = rgb(14, 15, 17),
                    .pointer = rgb(236, 239, 243), .shadow = rgb(0, 0, 0, 0.55)};
const CapLook cap{.top = rgb(150, 154, 161), .bottom = rgb(70, 73, 79), .rim = rgb(18, 19, 22), .line = accent};
const KeyLook key{.radius = 4, .faceTop = rgb(78, 81, 88), .faceBottom = rgb(44, 46, 51), .rim = rgb(14, 15, 17),
                  .glyphOff = rgb(150, 154, 162), .glyphOn = mix(accent, rgb(255, 255, 255), 0.35),
                  .litFace = rgb(24, 70, 104)};
const LampLook lamp{.off = rgb(14, 34, 48), .on = accent, .rim = rgb(8, 9, 11)};
// The pitch direction rows, in layout pixels: each key's face, its lamp and its caption share
// a centre line, and the lamps stand in one column.
constexpr double upRow = 226, downRow = 262, lampColumn = 188;
} // namespace rack

namespace legacy {
const Colour lettering = rgb(86, 64, 48); // the spin box's brown
const Colour accent = rgb(214, 108, 34);
const Colour panelTop = rgb(234, 224, 204), panelBottom = rgb(206, 191, 166);
const Colour labelShadow = rgb(255, 250, 238, 0.8);
const Colour glassTop = rgb(26, 28, 24), glassBottom = rgb(8, 9, 8);

const KnobLook knob{.arcRadius = 25, .arcWidth = 2.8, .bodyRadius = 19,
                    .arcTrack = rgb(178, 160, 134), .arcValue = accent,
                    .bodyTop = rgb(252, 247, 236), .bodyBottom = rgb(196, 183, 162), .rim = rgb(116, 96, 76),
                    .pointer = lettering, .shadow = rgb(70, 46, 24, 0.35)};
const CapLook cap{.top = rgb(252, 247, 236), .bottom = rgb(190, 176, 154), .rim = rgb(96, 76, 58), .line = lettering};
const KeyLook key{.radius = 5, .faceTop = rgb(128, 112, 96), .faceBottom = rgb(86, 72, 60), .rim = rgb(48, 38, 30),
                  .glyphOff = rgb(222, 210, 192), .glyphOn = rgb(255, 236, 200), .litFace = accent};
const LampLook lamp{.off = rgb(104, 40, 28), .on = rgb(255, 84, 40), .rim = rgb(70, 50, 36)};
} // namespace legacy

} // namespace artwork
