// Arbitrary bytes as the client file: the reader must load what is valid,
// report the rest, and never read or write outside its buffers.

#include "io/ClientReader.hpp"
#include "io/RecordLine.hpp"
#include "io/TextSource.hpp"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    // Most inputs: small reads and a small chunk put line ends at every kind
    // of boundary of a read and a chunk, on one worker. One in four: a few
    // chunks, each cut into pieces at line ends by two to four workers (which
    // start threads, the slow part of a run).
    TextSource source(std::string(reinterpret_cast<const char*>(data), size), size % 97 + 1);
    std::ostringstream reports;
    LoadOptions options;
    options.max_records = size % 7 == 0 ? size % 13 : 1000;
    const bool pieces = size % 4 == 0;
    options.chunk_size = pieces ? size / 3 + 1 : size % 251 + 1;
    options.workers = pieces ? static_cast<unsigned>(size % 3 + 2) : 1;
    options.min_shared_chunk = 1;
    const ClientStore klienti = loadClients(source, reports, options).klienti;
    // Every loaded record keeps its fields within their limits.
    for (const Klient* k : klienti.tabulka()) {
        if (fixedTextLength(k->rc.cisloField()) > max_field_length[0] ||
            fixedTextLength(k->menoField()) > max_field_length[1] ||
            fixedTextLength(k->ulicaField()) > max_field_length[3]) {
            std::abort();
        }
    }
    return 0;
}
