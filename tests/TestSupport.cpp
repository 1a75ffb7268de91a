#include "TestSupport.hpp"

#include "io/RecordLine.hpp"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <new>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

const std::string hlavicka =
    "rodne cislo,meno,priezvisko,ulica a cislo,mesto,povolanie,mesacna mzda,pocet uverov,"
    "suma uverov,bonita,platobna disciplina";

std::tm fixedTime(int rok, int mesiac, int den, int hodina, int minuta) {
    std::tm cas{};
    cas.tm_year = rok - 1900;
    cas.tm_mon = mesiac - 1;
    cas.tm_mday = den;
    cas.tm_hour = hodina;
    cas.tm_min = minuta;
    cas.tm_isdst = -1;
    std::tm kopia = cas;
    // timegm fills in the weekday without depending on the time zone.
    timegm(&kopia);
    cas.tm_wday = kopia.tm_wday;
    cas.tm_yday = kopia.tm_yday;
    return cas;
}

Clock fixedClock(int rok, int mesiac, int den, int hodina, int minuta) {
    const std::tm cas = fixedTime(rok, mesiac, den, hodina, minuta);
    return [cas] { return cas; };
}

Klient klientZRiadku(std::string_view riadok) {
    const auto polia = splitRecordLine(riadok);
    if (!polia) {
        throw std::invalid_argument("malformed test line: " + std::string(riadok));
    }
    Klient klient{};
    fillKlient(*polia, klient);
    return klient;
}

void TestTable::pridaj(std::string_view riadok) {
    zaznamy.push_back(std::make_unique<Klient>(klientZRiadku(riadok)));
    tabulka.push_back(zaznamy.back().get());
}

TempDir::TempDir() {
    static std::atomic<int> poradie{0};
    cesta_ = std::filesystem::temp_directory_path() /
             ("klienti-test-" + std::to_string(getpid()) + "-" + std::to_string(poradie++));
    std::filesystem::remove_all(cesta_);
    std::filesystem::create_directories(cesta_);
}

TempDir::~TempDir() {
    std::error_code chyba;
    std::filesystem::permissions(cesta_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, chyba);
    std::filesystem::remove_all(cesta_, chyba);
}

std::string readFile(const std::filesystem::path& cesta) {
    std::ifstream in(cesta, std::ios::binary);
    std::ostringstream obsah;
    obsah << in.rdbuf();
    return obsah.str();
}

void writeFile(const std::filesystem::path& cesta, std::string_view obsah) {
    std::ofstream out(cesta, std::ios::binary);
    out.write(obsah.data(), static_cast<std::streamsize>(obsah.size()));
}

std::vector<std::string> listDir(const std::filesystem::path& adresar) {
    std::vector<std::string> mena;
    for (const auto& polozka : std::filesystem::directory_iterator(adresar)) {
        mena.push_back(polozka.path().filename().string());
    }
    std::sort(mena.begin(), mena.end());
    return mena;
}

namespace {
std::atomic<std::size_t> failing_from{SIZE_MAX};
} // namespace

AllocationLimit::AllocationLimit(std::size_t min_size) { failing_from = min_size; }
AllocationLimit::~AllocationLimit() { failing_from = SIZE_MAX; }

// The test program's own allocation, so that AllocationLimit can make it fail.
void* operator new(std::size_t size) {
    if (size >= failing_from.load(std::memory_order_relaxed)) {
        throw std::bad_alloc();
    }
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void* operator new[](std::size_t size) { return ::operator new(size); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
