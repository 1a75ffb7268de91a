#pragma once

#include "model/Klient.hpp"

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

// One record line of the client file: eleven fields separated by ten commas,
// no quoting, nothing trimmed.
using RecordFields = std::array<std::string_view, 11>;

// Longest accepted content of each field, in file order: birth number, first
// name, surname, street, city, occupation, salary, number of loans, total of
// loans, score, discipline code.
inline constexpr std::array<std::size_t, 11> max_field_length = {11, 19, 19, 29, 19, 19, 4, 2, 6, 3, 1};

// Splits a line (without its line end) into its eleven fields. Gives nothing
// when the line has fewer than ten commas, when a field is longer than its
// limit (surplus commas land in the last field and make it too long), or when
// the line holds a NUL byte, which no zero-terminated field could keep.
std::optional<RecordFields> splitRecordLine(std::string_view line) noexcept;

// Sets all eleven fields of the record from split fields; the numeric fields
// are converted as atoi converts them.
void fillKlient(const RecordFields& fields, Klient& klient) noexcept;
