#pragma once

#include "app/Clock.hpp"
#include "io/ClientReader.hpp"

#include <filesystem>
#include <istream>
#include <ostream>
#include <string>

class Progress;

// What the program talks to: the user's input and output, standard error,
// the clock, the working directory, and the client file as the user named it.
struct Prostredie {
    std::istream& vstup;
    std::ostream& vystup;
    // Reasons, notes and hints, each line prefixed "klienti: ".
    std::ostream& diagnostika;
    Clock hodiny;
    // Where the output files are made, and the client file is looked for.
    std::filesystem::path adresar;
    // The client file as given on the command line; messages name it so.
    std::string subor = "klienti.csv";
    // Whether the dialogue's output is a terminal (a user watching it).
    bool vystup_je_terminal = false;
    // Progress of long steps; none when null.
    Progress* postup = nullptr;
};

// The whole program after its command line: opens the client file, loads it
// and runs the menu dialogue. Gives the exit status: 1 when the records do
// not fit into memory, else 0.
int runKlienti(Prostredie& prostredie);

// The menu dialogue over already loaded records, until the user quits or the
// input ends. Gives the exit status 0.
int runDialogue(ClientStore& klienti, Prostredie& prostredie);
