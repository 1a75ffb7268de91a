// Writes a synthetic klienti.csv: invented clients with Slovak names written
// without diacritics, every field within its limit, no line feed after the
// last record. The same count and seed always give the same bytes.
//
//   generate_klienti COUNT [SEED] [FILE]     (FILE defaults to standard output)

#include "ClientGenerator.hpp"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2 || argc > 4) {
        std::fprintf(stderr, "usage: generate_klienti COUNT [SEED] [FILE]\n");
        return 2;
    }
    const long long count = std::atoll(argv[1]);
    Random random{argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1};
    std::FILE* out = argc > 3 ? std::fopen(argv[3], "wb") : stdout;
    if (out == nullptr || count < 0) {
        std::fprintf(stderr, "generate_klienti: cannot write %s\n", argc > 3 ? argv[3] : "output");
        return 1;
    }
    std::string text(generated_header);
    // Written in pieces, so that files of a hundred million clients need no
    // more memory than a small one.
    for (long long done = 0; done < count;) {
        const long long piece = count - done < 10000 ? count - done : 10000;
        appendGeneratedClients(text, random, piece);
        done += piece;
        std::fwrite(text.data(), 1, text.size(), out);
        text.clear();
    }
    std::fwrite(text.data(), 1, text.size(), out);
    bool failed = std::ferror(out) != 0;
    if (out != stdout) {
        failed = std::fclose(out) != 0 || failed;
    }
    return failed ? 1 : 0;
}
