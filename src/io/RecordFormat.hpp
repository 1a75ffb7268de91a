#pragma once

#include "io/TextBuffer.hpp"
#include "model/Klient.hpp"

#include <string_view>

// The header line of klienti.csv and of every output file.
inline constexpr std::string_view hlavicka_suboru =
    "rodne cislo,meno,priezvisko,ulica a cislo,mesto,povolanie,mesacna mzda,pocet uverov,"
    "suma uverov,bonita,platobna disciplina\n";

// Appends a record as an input line: the eleven fields in the file's column
// order, separated by commas, the discipline as its code, and a line feed.
void appendRecordLine(TextBuffer& out, const Klient& klient);
