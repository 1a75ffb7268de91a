#pragma once

#include "query/ValueBands.hpp"

#include <ostream>

// Draws the bands on standard error, a line each: its bounds, a bar of '#'
// scaled to the fullest band, and its count, as
// "klienti:   40 -  49 | ############ 120433".
void drawValuePicture(std::ostream& out, const ValueBands& bands); // allocates nothing
