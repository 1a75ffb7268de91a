#pragma once

#include "app/Calendar.hpp"
#include "app/Pager.hpp"
#include "progress/Progress.hpp"
#include "sink/ByteSink.hpp"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <istream>
#include <string>

// What the program talks to. Tests pass sinks that keep what they get, a
// calendar that stands still and a directory of their own.
struct Environment {
    std::istream& input;
    ByteSink& output;      // the dialogue, a job's CSV or listing, byte for byte
    ByteSink& diagnostics; // reasons, notes and hints, each line prefixed "klienti: "
    Calendar calendar;
    std::filesystem::path directory; // where the client file is read and output files made
    std::string client_file = "klienti.csv"; // as the user named it; messages name it so
    bool output_is_terminal = false;
    Progress progress = Progress(); // draws nothing unless made on a terminal
    PagerCommand pager = {};        // an empty command: listings go straight to the output
    bool diagnostics_is_terminal = false; // then a filter shows a picture of the values
    bool input_is_terminal = false;       // then an answer is a line
    std::function<std::size_t()> columns = [] { return std::size_t{80}; }; // of the terminal, for the picture
    // Called once a job has its output whole, just before naming it: from
    // then on a signal no longer ends the job (the program holds off the
    // ending signals for good), so that a job a signal ends leaves no file.
    std::function<void()> finishing = [] {};
};
