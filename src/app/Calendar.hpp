#pragma once

#include <ctime>
#include <functional>

// The one way the program learns the current local date and time: a cycle
// asks it once, for its ages and its output file's name.
using Calendar = std::function<std::tm()>;
