// Arbitrary bytes as the client file: the reader must load what is valid,
// report the rest, and never read or write outside its buffers.

#include "io/ClientReader.hpp"
#include "io/TextSource.hpp"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    // Small reads and a small chunk put line ends at every kind of boundary.
    TextSource source(std::string(reinterpret_cast<const char*>(data), size), size % 97 + 1);
    std::ostringstream reports;
    LoadOptions options;
    options.max_records = 1000;
    options.chunk_size = size % 251 + 1;
    const ClientStore klienti = loadClients(source, reports, options).klienti;
    // Every loaded record keeps its fields within their limits.
    for (const Klient* k : klienti.tabulka()) {
        if (k->getMeno().size() > Klient::max_meno || k->getUlica().size() > Klient::max_ulica ||
            k->rc.getCislo().size() > RodneCislo::capacity - 1) {
            std::abort();
        }
    }
    return 0;
}
