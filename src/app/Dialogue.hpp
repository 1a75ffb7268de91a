#pragma once

#include "app/Environment.hpp"
#include "io/ClientReader.hpp"
#include "io/Dialect.hpp"
#include "query/Collation.hpp"

// The menu dialogue over loaded records, until the user quits or the input
// ends; output files are written in the client file's dialect, texts ordered
// by the collation. Gives 0.
int runDialogue(ClientStore& klienti, Environment& env, const Dialect& dialect = {},
                Collation collation = Collation::bytes);
