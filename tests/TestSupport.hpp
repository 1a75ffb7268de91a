#pragma once

#include "app/Clock.hpp"
#include "model/Datum.hpp"
#include "model/Klient.hpp"

#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// A local time that stands still: year, month 1 to 12, day, hour, minute.
std::tm fixedTime(int rok, int mesiac, int den, int hodina = 12, int minuta = 0);
Clock fixedClock(int rok, int mesiac, int den, int hodina = 12, int minuta = 0);

// A record made from one input line; the line must be well formed.
Klient klientZRiadku(std::string_view riadok);

// Records owned by the test, with a table of pointers to them.
struct TestTable {
    std::vector<std::unique_ptr<Klient>> zaznamy;
    std::vector<Klient*> tabulka;
    void pridaj(std::string_view riadok);
    int32_t pocet() const { return static_cast<int32_t>(tabulka.size()); }
};

// A fresh empty directory, removed with everything in it at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return cesta_; }

private:
    std::filesystem::path cesta_;
};

std::string readFile(const std::filesystem::path& cesta);
void writeFile(const std::filesystem::path& cesta, std::string_view obsah);
// Names of the entries of a directory, sorted.
std::vector<std::string> listDir(const std::filesystem::path& adresar);

// The header of klienti.csv without its line end.
extern const std::string hlavicka;

// While one is alive, every allocation of at least min_size bytes fails as
// if memory had run out.
class AllocationLimit {
public:
    explicit AllocationLimit(std::size_t min_size);
    ~AllocationLimit();
    AllocationLimit(const AllocationLimit&) = delete;
    AllocationLimit& operator=(const AllocationLimit&) = delete;
};
