#pragma once

#include <cstdint>
#include <functional>

// How a long step (loading, ordering, writing) tells how far it got: done
// out of total units of its own. Steps call it a few times per mebibyte or
// million records, never per record; an empty callback is not called.
using ProgressCallback = std::function<void(std::uint64_t done, std::uint64_t total)>;
