// Arbitrary bytes as the client file: the reader must load what is valid,
// report the rest, and never read or write outside its buffers.

#include "io/ClientReader.hpp"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    std::ostringstream hlasenia;
    NacitaniKlienti klienti = loadClients(in, hlasenia, 1000);
    // Every loaded record keeps its fields within their limits.
    for (const Klient* k : klienti.tabulka()) {
        if (k->getMeno().size() > Klient::max_meno || k->getUlica().size() > Klient::max_ulica ||
            k->rc.getCislo().size() > RodneCislo::kapacita - 1) {
            std::abort();
        }
    }
    return 0;
}
