#pragma once

#include "model/Klient.hpp"

#include <cstdint>
#include <istream>
#include <memory>
#include <ostream>
#include <vector>

// Every record read from klienti.csv. The records live in blocks that never
// move, so the table of pointers (in file order after loading) stays valid for
// the life of the program; tables built from it never own a record.
class NacitaniKlienti {
public:
    // A new empty record, owned by this object.
    Klient& pridajKlienta();
    // Builds the table of pointers to all records, in the order they were added.
    void dokonciTabulku();

    std::vector<Klient*>& tabulka() noexcept { return tabulka_; }
    const std::vector<Klient*>& tabulka() const noexcept { return tabulka_; }
    int32_t pocet() const noexcept { return static_cast<int32_t>(tabulka_.size()); }

private:
    static constexpr std::size_t velkost_bloku = 16384;
    // Blocks of records left unset until the reader fills them, so that
    // every byte is written once, while it is in the cache.
    std::vector<std::unique_ptr<Klient[]>> bloky_;
    std::size_t v_poslednom_bloku_ = velkost_bloku;
    std::size_t pocet_ = 0;
    std::vector<Klient*> tabulka_;
};

// Reads the whole client file: a header line, which is skipped whatever it
// holds, then one record per line. A carriage return before a line feed is
// not part of the line, and an empty last line after the final line feed is
// no record. Each malformed record line is skipped and reported on hlasenia
// with its line number. At most max_zaznamov records are loaded (the count is
// a signed 32-bit number); anything beyond is reported and not loaded.
NacitaniKlienti loadClients(std::istream& in, std::ostream& hlasenia,
                            int32_t max_zaznamov = INT32_MAX);
