#pragma once

#include "model/Klient.hpp"

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

// A record line's eleven fields, separated by ten commas; no quoting, nothing
// trimmed.
using RecordFields = std::array<std::string_view, 11>;

// Longest content of each field: birth number, first name, surname, street,
// city, occupation, salary, loans, total of loans, score, discipline code.
inline constexpr std::array<std::size_t, 11> max_field_length = {11, 19, 19, 29, 19, 19, 4, 2, 6, 3, 1};

// Splits a line without its end. Nothing when it has under ten commas, a field
// beyond its limit (surplus commas go to the last), or a NUL byte, which no
// zero-terminated field could keep.
std::optional<RecordFields> splitRecordLine(std::string_view line) noexcept;

// Sets all eleven fields of the record; numbers are converted as atoi does.
void fillKlient(const RecordFields& fields, Klient& klient) noexcept;
