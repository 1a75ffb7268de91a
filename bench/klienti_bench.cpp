// Each stage of the tool on generated files of 10k, 100k and 1M clients:
// loading, the nine orderings, the five filters, the console listing (into a
// stream that discards everything) and the output file.

#include "ClientGenerator.hpp"
#include "app/ConsoleListing.hpp"
#include "io/ClientReader.hpp"
#include "io/InputFile.hpp"
#include "io/OutputFile.hpp"
#include "query/Filter.hpp"
#include "query/Sort.hpp"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <streambuf>
#include <unistd.h>

namespace {

const Datum dnes{2026, 12, 7};

// A stream buffer that throws everything away, as /dev/null would.
class NullBuffer : public std::streambuf {
protected:
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
};

const std::string& fileOf(int64_t pocet) {
    static std::map<int64_t, std::string> subory;
    auto& subor = subory[pocet];
    if (subor.empty()) {
        subor = generateClientFile(pocet, 7);
    }
    return subor;
}

ClientStore& loadedOf(int64_t pocet) {
    static std::map<int64_t, std::unique_ptr<ClientStore>> nacitane;
    auto& k = nacitane[pocet];
    if (!k) {
        const auto cesta = std::filesystem::temp_directory_path() / ("klienti-bench-" + std::to_string(getpid()) + ".csv");
        {
            std::ofstream out(cesta, std::ios::binary);
            out << fileOf(pocet);
        }
        std::optional<InputFile> in = InputFile::open(cesta);
        std::ostringstream hlasenia;
        k = std::make_unique<ClientStore>(loadClients(*in, hlasenia).klienti);
        std::filesystem::remove(cesta);
    }
    return *k;
}

// Loading reads a real file, as the tool does.
void BM_Load(benchmark::State& state) {
    const std::string& obsah = fileOf(state.range(0));
    const auto cesta = std::filesystem::temp_directory_path() /
                       ("klienti-bench-" + std::to_string(getpid()) + "-" + std::to_string(state.range(0)) + ".csv");
    {
        std::ofstream out(cesta, std::ios::binary);
        out.write(obsah.data(), static_cast<std::streamsize>(obsah.size()));
    }
    for (auto _ : state) {
        std::optional<InputFile> in = InputFile::open(cesta);
        std::ostringstream hlasenia;
        ClientStore k = loadClients(*in, hlasenia).klienti;
        benchmark::DoNotOptimize(k.pocet());
    }
    std::filesystem::remove(cesta);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(obsah.size()));
}

void BM_Sort(benchmark::State& state) {
    ClientStore& k = loadedOf(state.range(0));
    const char kriterium = static_cast<char>('0' + state.range(1));
    std::vector<Klient*> tabulka;
    for (auto _ : state) {
        state.PauseTiming();
        tabulka = k.tabulka(); // file order every time
        state.ResumeTiming();
        sortClients(tabulka.data(), static_cast<int32_t>(tabulka.size()), kriterium, dnes);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}

void BM_Filter(benchmark::State& state) {
    ClientStore& k = loadedOf(state.range(0));
    const char kriterium = static_cast<char>('0' + state.range(1));
    // Bounds around the middle of each attribute's range.
    const int32_t hranice[6][2] = {{0, 0}, {40, 80}, {2, 6}, {100000, 600000}, {1000, 3000}, {30, 60}};
    const HornaHranica max{hranice[state.range(1)][1]};
    const DolnaHranica min{hranice[state.range(1)][0]};
    for (auto _ : state) {
        const int32_t n = countMatching(k.tabulka().data(), max, min, k.pocet(), kriterium, dnes);
        std::vector<Klient*> filtrovana(static_cast<std::size_t>(n));
        copyMatching(k.tabulka().data(), max, min, k.pocet(), n, filtrovana.data(), kriterium, dnes);
        benchmark::DoNotOptimize(filtrovana.data());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}

void BM_Listing(benchmark::State& state) {
    ClientStore& k = loadedOf(state.range(0));
    NullBuffer nic;
    std::ostream out(&nic);
    TextBuffer buffer(std::size_t{1} << 20);
    for (auto _ : state) {
        printClients(k.tabulka().data(), k.pocet(), out, buffer);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}

void BM_OutputFile(benchmark::State& state) {
    ClientStore& k = loadedOf(state.range(0));
    const auto adresar = std::filesystem::temp_directory_path() / ("klienti-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(adresar);
    std::tm cas{};
    cas.tm_year = 126;
    cas.tm_mday = 1;
    TextBuffer buffer(std::size_t{1} << 20);
    for (auto _ : state) {
        const OutputResult vysledok = writeOutputFile(k.tabulka().data(), k.pocet(), cas, adresar, buffer);
        state.PauseTiming();
        if (vysledok.written) {
            std::filesystem::remove(vysledok.name);
        }
        state.ResumeTiming();
    }
    std::filesystem::remove_all(adresar);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}

void sizes(benchmark::internal::Benchmark* b) {
    for (const int64_t n : {10000, 100000, 1000000}) {
        b->Arg(n);
    }
}

void sizesAndCriteria(benchmark::internal::Benchmark* b, int posledne) {
    for (const int64_t n : {10000, 100000, 1000000}) {
        for (int64_t k = 1; k <= posledne; ++k) {
            b->Args({n, k});
        }
    }
}

} // namespace

BENCHMARK(BM_Load)->Apply(sizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sort)->Apply([](auto* b) { sizesAndCriteria(b, 9); })->ArgNames({"n", "criterion"})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Filter)->Apply([](auto* b) { sizesAndCriteria(b, 5); })->ArgNames({"n", "criterion"})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Listing)->Apply(sizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OutputFile)->Apply(sizes)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
