#pragma once

#include "app/Console.hpp"
#include "app/Job.hpp"
#include "io/ClientReader.hpp"
#include "model/Klient.hpp"

#include <cstdint>
#include <ctime>
#include <string_view>

// The executor of a job, whether the command line or a cycle of the
// dialogue describes it.

// What a job or a cycle says where memory runs out before it shows anything.
inline constexpr std::string_view nedostatok_pamate = "Nedostatok pamate, operacia nebola vykonana.\n";

// Orders the first pocet entries of the table by the job's keys, in place,
// writes the job's output and lists the table where the job asks, in the
// job's order, then notes on standard error what became of the output.
// Everything the output needs is taken before anything is shown: where
// memory runs out, nothing is shown but that, and the table keeps its order;
// once shown, nothing fails for memory. now dates the ages and the output
// file's name. True when the output is written whole.
bool orderAndWrite(Klient** tabulka, int32_t pocet, const Job& job, const std::tm& now, Console& c);

// A job from the command line on the loaded clients: the filters, then the
// rest as above. Gives the exit status: 0 when the output is written whole
// (a file of the header alone where no client passes), else 1.
int runJob(ClientStore& klienti, const Job& job, Console& c);
