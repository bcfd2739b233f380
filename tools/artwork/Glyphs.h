#pragma once

#include "Controls.h"

#include <string>

// Symbols that keys carry. Each returns a Glyph that draws itself centred in the key's face.
namespace artwork {

enum class Direction { up, down, left, right };

Glyph powerSymbol();
Glyph snowflake();
Glyph arrow(Direction direction);
Glyph threeBars();
Glyph cross();
Glyph label(std::string text, double size);
// A short bar across the middle, the mark of a small toggle.
Glyph indicatorBar();

// The bare arrowhead that the arrow glyph draws, for pictures that are only an arrow.
void paintArrowhead(cairo_t* cr, Box box, Direction direction, Colour colour);

} // namespace artwork
