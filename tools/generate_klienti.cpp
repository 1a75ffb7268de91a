// Writes a synthetic klienti.csv: invented clients with Slovak names written
// without diacritics, every field within its limit, no line feed after the
// last record. The same count and seed always give the same bytes.
//
//   generate_klienti COUNT [SEED] [FILE]     (FILE defaults to standard output)

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ClientGenerator.hpp"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2 || argc > 4) {
        std::fprintf(stderr, "usage: generate_klienti COUNT [SEED] [FILE]\n");
        return 2;
    }
    const long long pocet = std::atoll(argv[1]);
    Nahoda nahoda{argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1};
    std::FILE* vystup = argc > 3 ? std::fopen(argv[3], "wb") : stdout;
    if (vystup == nullptr || pocet < 0) {
        std::fprintf(stderr, "generate_klienti: cannot write %s\n", argc > 3 ? argv[3] : "output");
        return 1;
    }
    std::string text(hlavicka_generatora);
    // Written in pieces, so that files of a hundred million clients need no
    // more memory than a small one.
    for (long long hotovo = 0; hotovo < pocet;) {
        const long long kus = pocet - hotovo < 10000 ? pocet - hotovo : 10000;
        appendGeneratedClients(text, nahoda, kus);
        hotovo += kus;
        std::fwrite(text.data(), 1, text.size(), vystup);
        text.clear();
    }
    std::fwrite(text.data(), 1, text.size(), vystup);
    bool chyba = std::ferror(vystup) != 0;
    if (vystup != stdout) {
        chyba = std::fclose(vystup) != 0 || chyba;
    }
    return chyba ? 1 : 0;
}
