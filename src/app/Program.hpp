#pragma once

#include "app/Environment.hpp"
#include "app/Job.hpp"

#include <optional>

// The whole program after its command line: loads the client file, then runs
// the job, or without one the dialogue. Gives the exit status: 1 when the
// records do not fit into memory, and for a job when the client file cannot
// be read or its output cannot be written; else 0.
int runKlienti(Environment& env, const std::optional<Job>& job = std::nullopt,
               Collation collation = Collation::bytes);
