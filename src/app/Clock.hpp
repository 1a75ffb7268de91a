#pragma once

#include <ctime>
#include <functional>

// The one way the program learns the current local time: ages and output
// file names ask it once per operation. Tests pass a clock that stands still.
using Clock = std::function<std::tm()>;

// The calendar clock converted to local time.
std::tm systemLocalTime();
