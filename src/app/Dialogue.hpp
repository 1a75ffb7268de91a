#pragma once

#include "app/Calendar.hpp"
#include "app/Pager.hpp"
#include "io/ClientReader.hpp"

#include <filesystem>
#include <istream>
#include <ostream>
#include <string>

class Progress;

// What the program talks to: the user's input and output, standard error,
// the calendar, the working directory, and the client file as the user named it.
struct Environment {
    std::istream& input;
    // The dialogue, byte for byte.
    std::ostream& output;
    // Reasons, notes and hints, each line prefixed "klienti: ".
    std::ostream& diagnostics;
    Calendar calendar;
    // Where the output files are made, and the client file is looked for.
    std::filesystem::path directory;
    // The client file as given on the command line; messages name it so.
    std::string client_file = "klienti.csv";
    // Whether the dialogue's output is a terminal (a user watching it).
    bool output_is_terminal = false;
    // Progress of long steps; none when null.
    Progress* progress = nullptr;
    // The pager that pages each listing; none, for the listing to go
    // straight to the output, where its command is empty.
    PagerCommand pager = {};
    // Whether standard error is a terminal: then a filter shows a picture of
    // the values there before it asks for the bounds.
    bool diagnostics_is_terminal = false;
};

// The whole program after its command line: opens the client file, loads it
// and runs the menu dialogue. Gives the exit status: 1 when the records do
// not fit into memory, else 0.
int runKlienti(Environment& env);

// The menu dialogue over already loaded records, until the user quits or the
// input ends. Gives the exit status 0.
int runDialogue(ClientStore& klienti, Environment& env);
