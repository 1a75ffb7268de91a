#pragma once

#include "app/Clock.hpp"
#include "io/ClientReader.hpp"

#include <filesystem>
#include <istream>
#include <ostream>

// What the program talks to: the user's input and output, the clock, and the
// working directory where klienti.csv is read and the output files are made.
struct Prostredie {
    std::istream& vstup;
    std::ostream& vystup;
    Clock hodiny;
    std::filesystem::path adresar;
};

// The whole program: opens klienti.csv in the working directory, loads it and
// runs the menu dialogue. Gives the exit status, which is 0 on every path.
int runKlienti(Prostredie& prostredie);

// The menu dialogue over already loaded records, until the user quits or the
// input ends. Gives the exit status 0.
int runDialogue(ClientStore& klienti, Prostredie& prostredie);
