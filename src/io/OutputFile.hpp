#pragma once

#include "model/Klient.hpp"

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

// The header line of klienti.csv and of every output file.
inline constexpr std::string_view hlavicka_suboru =
    "rodne cislo,meno,priezvisko,ulica a cislo,mesto,povolanie,mesacna mzda,pocet uverov,"
    "suma uverov,bonita,platobna disciplina\n";

// The name of an output file for a local time, as "%a %d. %b. %Y, %H.%M."
// followed by "csv" with English day and month abbreviations whatever the
// user's locale, for example "Tue 05. Mar. 2024, 14.05.csv". From poradie 2 on
// the number is put before ".csv": "Tue 05. Mar. 2024, 14.05 (2).csv".
std::string outputFileName(const std::tm& cas, int poradie = 1);

// One record as an input line: the eleven fields separated by commas (the
// discipline as its code) and a line feed.
std::string recordLine(const Klient& klient);

// Writes the header and the first pocet records of the table to a new file in
// adresar named after the local time cas. An existing entry is never
// replaced: the first free name of the numbered series is created instead.
// When no file can be created, or writing it fails, the failure message goes
// to hlasenia (without a line end) and no file is left behind. Gives the path
// of the file written.
std::optional<std::filesystem::path> writeOutputFile(Klient* const* tabulka, int32_t pocet,
                                                     const std::tm& cas, std::ostream& hlasenia,
                                                     const std::filesystem::path& adresar);
