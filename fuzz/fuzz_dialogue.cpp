// Arbitrary bytes as the user's input to a whole dialogue over a small fixed
// file at a fixed date: no input may crash, hang or corrupt the session.

#include "app/Dialogue.hpp"
#include "io/TextSource.hpp"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

const char* const client_file =
    "rodne cislo,meno,priezvisko,ulica a cislo,mesto,povolanie,mesacna mzda,pocet uverov,suma uverov,bonita,"
    "platobna disciplina\n"
    "850312/0417,Jan,Novak,Hlavna 12,Nitra,ucitel,950,2,800,80,1\n"
    "905520/1234,Eva,Kovacova,Lesna 3,Kosice,lekarka,2100,0,0,35,2\n"
    "141231/0001,Adam,Toth,Dlha 1,Zilina,student,450,12,1500,-5,3\n"
    "zly riadok\n"
    "001231/0000,Ema,Baranova, Hlavna 1,Nitra,,0,99,999999,100,0\n"
    "9913,X,Y,Z,W,V,-999,-9,-99999,-99,9";

// Output files go to memory where it can be had: making a file durable
// there costs nothing.
std::filesystem::path workDir() {
    static const std::filesystem::path directory = [] {
        const std::filesystem::path shm = "/dev/shm";
        auto path = (std::filesystem::is_directory(shm) ? shm : std::filesystem::temp_directory_path()) /
                    ("klienti-fuzz-" + std::to_string(getpid()));
        std::filesystem::create_directories(path);
        return path;
    }();
    return directory;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    std::tm local_time{};
    local_time.tm_year = 126;
    local_time.tm_mon = 11;
    local_time.tm_mday = 7;
    local_time.tm_wday = 1;
    TextSource source(client_file);
    std::ostringstream reports;
    // A small file needs no mebibytes of read buffers: touching fresh ones
    // each run would cost more than the dialogue.
    LoadOptions options;
    options.chunk_size = 4096;
    ClientStore klienti = loadClients(source, reports, options).klienti;
    std::istringstream input(std::string(reinterpret_cast<const char*>(data), size));
    // What the dialogue says is not examined: it goes nowhere.
    struct : ByteSink {
        bool write(std::string_view) noexcept override { return true; }
    } output, diagnostics;
    Environment env{input, output, diagnostics, [local_time] { return local_time; }, workDir()};
    if (runDialogue(klienti, env) != 0 || klienti.pocet() != 5) {
        std::abort();
    }
    // Output files of this run go, so that every run starts alike.
    for (const auto& entry : std::filesystem::directory_iterator(workDir())) {
        std::filesystem::remove(entry.path());
    }
    return 0;
}
