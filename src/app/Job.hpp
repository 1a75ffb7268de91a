#pragma once

#include "query/Filter.hpp"
#include "query/Sort.hpp"

#include <string>
#include <vector>

// Work on the loaded clients: those that pass every filter, ordered by the
// keys, written out and, where asked, listed. The command line describes one
// job; the dialogue one each cycle. One executor runs both.
struct Job {
    std::vector<Filter> filters; // none: every client
    std::vector<SortKey> keys;   // the most important first; none: the table's order stays
    Collation collation = Collation::bytes; // of the text keys
    enum class Output { dated_file, named_file, standard_output };
    Output output = Output::dated_file; // a file named after the local time, in the working directory
    std::string output_name;            // a named file, as the user gave it
    bool list = false;                  // the labelled blocks on standard output
    bool file_first = false;            // the file written before the listing, not beside it
    // The dialogue's own words for a failure (out of memory, an output file
    // that could not be made) go to standard output, within the dialogue;
    // a job from the command line keeps standard output for its result.
    bool dialogue = false;
};
