#pragma once

#include "app/Environment.hpp"
#include "io/ClientReader.hpp"
#include "io/Dialect.hpp"

// The menu dialogue over loaded records, until the user quits or the input
// ends; output files are written in the client file's dialect. Gives 0.
int runDialogue(ClientStore& klienti, Environment& env, const Dialect& dialect = {});
