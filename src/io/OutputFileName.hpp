#pragma once

#include <ctime>
#include <string>

// The name of an output file for a local time, as "%a %d. %b. %Y, %H.%M."
// followed by "csv" with English day and month abbreviations whatever the
// user's locale, for example "Tue 05. Mar. 2024, 14.05.csv". From number 2 on
// of a minute's series the number goes before ".csv":
// "Tue 05. Mar. 2024, 14.05 (2).csv".
std::string outputFileName(const std::tm& local_time, int number = 1);
