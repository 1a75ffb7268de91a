#pragma once

#include "app/Environment.hpp"
#include "io/Dialect.hpp"
#include "query/Collation.hpp"
#include "sink/SinkStream.hpp"

#include <ostream>

// The program's text onto the environment's sinks, with the client file's
// dialect, in which output files are written. Standard output goes out
// before an answer is read and before anything reaches standard error, so
// that at a terminal all of it appears in the order written.
struct Console {
    Console(Environment& e, const Dialect& d) : env(e), dialect(d), out(e.output), err(e.diagnostics) {
        tied = env.input.tie(&out);
        err.tie(&out);
    }
    ~Console() {
        out.flush();
        err.flush();
        env.input.tie(tied);
    }
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;

    Environment& env;
    Dialect dialect;
    Collation collation = Collation::bytes; // how the dialogue orders texts
    SinkStream out;
    SinkStream err;
    std::ostream* tied = nullptr;
};
