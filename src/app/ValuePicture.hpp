#pragma once

#include "query/ValueBands.hpp"

#include <cstddef>
#include <ostream>

// Draws the bands on standard error, a line each: its bounds, a bar of '#'
// scaled to the fullest band, and its count, as
// "klienti:   40 -  49 | ############ 120433"; the fullest band's line ends
// one short of the terminal's columns, so that none wraps; nothing where not
// even one mark fits. Allocates nothing.
void drawValuePicture(std::ostream& out, const ValueBands& bands, std::size_t columns);

// The width of the terminal at fd, as the terminal tells it; else as
// COLUMNS gives it; else 80. At most 1000.
std::size_t terminalColumns(int fd, const char* columns) noexcept;
