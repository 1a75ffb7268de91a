// Each stage of the tool on generated files of 10k, 100k and 1M clients:
// loading, the nine orderings, the five filters, the range report with and
// without the picture of the values, the console listing (into a stream that
// discards everything) and the output file; and the cases the
// writers' prefetch exists for: listing and writing a table that a previous
// ordering left in an order unrelated to where its records lie in memory; and
// the ranks of distinct names in the Slovak collation.

#include "ClientGenerator.hpp"
#include "app/ConsoleListing.hpp"
#include "app/ValuePicture.hpp"
#include "io/ClientReader.hpp"
#include "io/InputFile.hpp"
#include "io/OutputFile.hpp"
#include "io/RecordLine.hpp"
#include "threads/SideBySide.hpp"
#include "query/Collation.hpp"
#include "query/Filter.hpp"
#include "query/Sort.hpp"
#include "query/ValueBands.hpp"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <random>
#include <streambuf>
#include <unordered_set>
#include <unistd.h>

namespace {

const Datum dnes{2026, 12, 7};

// A stream buffer that throws everything away, as /dev/null would.
class NullBuffer : public std::streambuf {
protected:
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
};

std::filesystem::path scratchPath(const std::string& name) {
    return std::filesystem::temp_directory_path() / ("klienti-bench-" + std::to_string(getpid()) + "-" + name);
}

// Generated client files, written once per count and removed at the end.
struct Files {
    std::map<int64_t, std::filesystem::path> paths;
    ~Files() {
        for (const auto& [count, path] : paths) {
            std::filesystem::remove(path);
        }
    }
};

const std::filesystem::path& fileOf(int64_t count) {
    static Files files;
    std::filesystem::path& path = files.paths[count];
    if (path.empty()) {
        path = scratchPath(std::to_string(count) + ".csv");
        std::ofstream(path, std::ios::binary) << generateClientFile(count, 7);
    }
    return path;
}

// Loads as the tool does: on every core, unless told how many workers.
ClientStore load(int64_t count, unsigned workers = workerCount()) {
    std::optional<InputFile> file = InputFile::open(fileOf(count));
    std::ostringstream reports;
    LoadOptions options;
    options.workers = workers;
    return loadClients(*file, reports, options).klienti;
}

ClientStore& loadedOf(int64_t count) {
    static std::map<int64_t, std::unique_ptr<ClientStore>> loaded;
    std::unique_ptr<ClientStore>& store = loaded[count];
    if (!store) {
        store = std::make_unique<ClientStore>(load(count));
    }
    return *store;
}

// The loaded table as a previous ordering by surname leaves it.
HugeVector<Klient*> orderedBySurname(int64_t count) {
    const HugeVector<Klient*>& tabulka = loadedOf(count).tabulka();
    return sortClients(tabulka.data(), static_cast<int32_t>(tabulka.size()), SortCriterion::priezvisko, dnes);
}

HugeVector<Klient*> tableOf(const benchmark::State& state, bool after_ordering) {
    return after_ordering ? orderedBySurname(state.range(0)) : loadedOf(state.range(0)).tabulka();
}

void itemsProcessed(benchmark::State& state) {
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}

void BM_Load(benchmark::State& state) {
    fileOf(state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(load(state.range(0)).pocet());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(std::filesystem::file_size(fileOf(state.range(0)))));
}

void BM_LoadOneWorker(benchmark::State& state) {
    fileOf(state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(load(state.range(0), 1).pocet());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(std::filesystem::file_size(fileOf(state.range(0)))));
}

// The split of every line of a file in memory into its fields, on one core:
// loading's own work, without the records' memory.
void BM_SplitLines(benchmark::State& state) {
    std::ifstream in(fileOf(state.range(0)), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const char* const data_end = text.data() + text.size();
    RecordFields fields;
    for (auto _ : state) {
        std::size_t records = 0;
        for (const char* line = text.data(); line < data_end;) {
            const auto* lf = static_cast<const char*>(std::memchr(line, int{'\n'}, static_cast<std::size_t>(data_end - line)));
            const char* const line_end = lf != nullptr ? lf : data_end;
            const char* end = line_end;
            uint64_t lines = 1;
            records += splitRecord(line, line_end, data_end, true, ',', fields, end, lines) == Split::record ? 1u : 0u;
            line = end < data_end ? end + 1 : data_end;
        }
        benchmark::DoNotOptimize(records);
    }
    itemsProcessed(state);
}

void sort(benchmark::State& state, unsigned workers) {
    const auto kriterium = static_cast<SortCriterion>(state.range(1) - 1);
    const HugeVector<Klient*> tabulka = tableOf(state, false);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            sortClients(tabulka.data(), static_cast<int32_t>(tabulka.size()), kriterium, dnes, {}, workers).data());
    }
    itemsProcessed(state);
}

// Two keys, the monthly salary and then the score, on one core: the tool's
// one sort on both at once, against two stable sorts from the less
// important key, the other way a stable ordering by several keys is made.
void BM_SortTwoKeys(benchmark::State& state) {
    const HugeVector<Klient*> tabulka = tableOf(state, false);
    const auto n = static_cast<int32_t>(tabulka.size());
    const bool composite = state.range(1) == 1;
    const SortKey keys[] = {{SortCriterion::plat}, {SortCriterion::bonita}};
    for (auto _ : state) {
        if (composite) {
            benchmark::DoNotOptimize(sortClients(tabulka.data(), n, keys, dnes, Collation::bytes, {}, 1).data());
        } else {
            const HugeVector<Klient*> by_score = sortClients(tabulka.data(), n, SortCriterion::bonita, dnes, {}, 1);
            benchmark::DoNotOptimize(sortClients(by_score.data(), n, SortCriterion::plat, dnes, {}, 1).data());
        }
    }
    itemsProcessed(state);
}

// Orders as the tool does, on every core; and on one.
void BM_Sort(benchmark::State& state) { sort(state, workerCount()); }
void BM_SortOneWorker(benchmark::State& state) { sort(state, 1); }

void BM_Filter(benchmark::State& state) {
    const auto kriterium = static_cast<FilterCriterion>(state.range(1) - 1);
    // Bounds around the middle of each attribute's range.
    const int32_t bounds[5][2] = {{40, 80}, {2, 6}, {100000, 600000}, {1000, 3000}, {30, 60}};
    const Filter filter = NumberFilter{kriterium, {bounds[state.range(1) - 1][0], bounds[state.range(1) - 1][1]}};
    const std::span<const Filter> filters(&filter, 1);
    const HugeVector<Klient*> tabulka = tableOf(state, false);
    const auto pocet = static_cast<int32_t>(tabulka.size());
    for (auto _ : state) {
        const int32_t n = countMatching(tabulka.data(), pocet, filters, dnes);
        HugeVector<Klient*> filtrovana(static_cast<std::size_t>(n));
        copyMatching(tabulka.data(), pocet, filters, n, filtrovana.data(), dnes);
        benchmark::DoNotOptimize(filtrovana.data());
    }
    itemsProcessed(state);
}

// The range report of a filter, alone and with the picture of the values
// that a terminal shows beside it, counted in a second pass.
void filterRange(benchmark::State& state, bool picture) {
    const auto kriterium = static_cast<FilterCriterion>(state.range(1) - 1);
    const HugeVector<Klient*> tabulka = tableOf(state, false);
    const auto pocet = static_cast<int32_t>(tabulka.size());
    NullBuffer discard;
    std::ostream out(&discard);
    for (auto _ : state) {
        const std::optional<ValueRange> range = printFilterRange(tabulka.data(), pocet, kriterium, dnes, out);
        if (picture) {
            drawValuePicture(out, countBands(tabulka.data(), pocet, kriterium, dnes, *range), 80);
        }
    }
    itemsProcessed(state);
}
void BM_FilterRange(benchmark::State& state) { filterRange(state, false); }
void BM_FilterRangeWithPicture(benchmark::State& state) { filterRange(state, true); }

void listing(benchmark::State& state, bool after_ordering, unsigned workers = workerCount()) {
    const HugeVector<Klient*> tabulka = tableOf(state, after_ordering);
    struct : ByteSink {
        bool write(std::string_view) noexcept override { return true; }
    } out;
    WriterBuffers buffers = listingBuffers(static_cast<int32_t>(tabulka.size()), workers);
    for (auto _ : state) {
        printClients(tabulka.data(), static_cast<int32_t>(tabulka.size()), out, buffers);
    }
    itemsProcessed(state);
}

void outputFile(benchmark::State& state, bool after_ordering, unsigned workers = workerCount()) {
    const HugeVector<Klient*> tabulka = tableOf(state, after_ordering);
    const std::filesystem::path directory = scratchPath("out");
    std::filesystem::create_directories(directory);
    std::tm local_time{};
    local_time.tm_year = 126;
    local_time.tm_mday = 1;
    for (auto _ : state) {
        OutputFile file(directory, tabulka.size(), workers);
        file.write(tabulka.data(), tabulka.size());
        const OutputResult result = file.publish(local_time);
        state.PauseTiming();
        if (result.written) {
            std::filesystem::remove(directory / std::string(result.name.view()));
        }
        state.ResumeTiming();
    }
    std::filesystem::remove_all(directory);
    itemsProcessed(state);
}

void BM_Listing(benchmark::State& state) { listing(state, false); }
void BM_ListingAfterOrdering(benchmark::State& state) { listing(state, true); }
void BM_ListingOneWorker(benchmark::State& state) { listing(state, false, 1); }
void BM_OutputFile(benchmark::State& state) { outputFile(state, false); }
void BM_OutputFileOneWorker(benchmark::State& state) { outputFile(state, false, 1); }
void BM_OutputFileAfterOrdering(benchmark::State& state) { outputFile(state, true); }

// Distinct names of 5 to 15 bytes, a capital and syllables, most with
// diacritics: in UTF-8, or the same names in windows-1250.
const std::vector<std::string>& distinctNames(int64_t count, bool windows1250) {
    static std::map<std::pair<int64_t, bool>, std::vector<std::string>> made;
    std::vector<std::string>& names = made[{count, windows1250}];
    struct Piece {
        const char* utf8;
        const char* cp1250;
    };
    static const Piece initials[] = {{"A", "A"},   {"B", "B"},   {"\u010C", "\xC8"}, {"D", "D"},   {"H", "H"},
                                     {"Ch", "Ch"}, {"J", "J"},   {"K", "K"},         {"L", "L"},   {"M", "M"},
                                     {"N", "N"},   {"P", "P"},   {"R", "R"},         {"S", "S"},   {"\u0160", "\x8A"},
                                     {"T", "T"},   {"V", "V"},   {"Z", "Z"},         {"\u017D", "\x8E"}, {"\u00C1", "\xC1"}};
    static const Piece syllables[] = {
        {"a", "a"},         {"o", "o"},           {"ov", "ov"},         {"ko", "ko"},        {"ni", "ni"},
        {"ra", "ra"},       {"lo", "lo"},         {"ve", "ve"},         {"ch", "ch"},        {"dz", "dz"},
        {"\u00E1", "\xE1"}, {"\u00E4", "\xE4"},   {"\u010D", "\xE8"},   {"\u010F", "\xEF"},  {"\u00E9", "\xE9"},
        {"\u00ED", "\xED"}, {"\u013E", "\xBE"},   {"\u0148", "\xF2"},   {"\u00F3", "\xF3"},  {"\u00F4", "\xF4"},
        {"\u0161", "\x9A"}, {"\u0165", "\x9D"},   {"\u00FA", "\xFA"},   {"\u00FD", "\xFD"},  {"\u017E", "\x9E"},
        {"ov\u00E1", "ov\xE1"}, {"sk\u00FD", "sk\xFD"}, {"ek", "ek"},     {"in", "in"},        {"ka", "ka"}};
    if (names.empty()) {
        std::mt19937 random(7);
        std::unordered_set<std::string> seen;
        while (static_cast<int64_t>(names.size()) < count) {
            const Piece& initial = initials[random() % std::size(initials)];
            std::string utf8 = initial.utf8;
            std::string cp1250 = initial.cp1250;
            const std::size_t length = 5 + random() % 11;
            while (utf8.size() < length) {
                const Piece& syllable = syllables[random() % std::size(syllables)];
                utf8 += syllable.utf8;
                cp1250 += syllable.cp1250;
            }
            if (utf8.size() <= 15 && seen.insert(utf8).second) {
                names.push_back(windows1250 ? cp1250 : utf8);
            }
        }
    }
    return names;
}

// The ranks of distinct names in the Slovak collation, on one worker and on
// every core; the third argument 1 has them in windows-1250.
void BM_SlovakRanks(benchmark::State& state) {
    const std::vector<std::string>& names = distinctNames(state.range(0), state.range(2) == 1);
    const std::vector<std::string_view> texts(names.begin(), names.end());
    const auto workers = state.range(1) == 1 ? 1 : workerCount();
    for (auto _ : state) {
        benchmark::DoNotOptimize(slovakRanks(texts, workers).data());
    }
    itemsProcessed(state);
}

void sizes(benchmark::internal::Benchmark* b) {
    for (const int64_t n : {10000, 100000, 1000000}) {
        b->Arg(n);
    }
}

void sizesAndCriteria(benchmark::internal::Benchmark* b, int last) {
    for (const int64_t n : {10000, 100000, 1000000}) {
        for (int64_t k = 1; k <= last; ++k) {
            b->Args({n, k});
        }
    }
}

} // namespace

// Ten million clients for the stages of a whole job (loading, ordering by
// surname and by salary, filtering by score, both writers), only where
// KLIENTI_BENCH_10M is set: their file and records take about 2.5 GB.
void tenMillion(benchmark::internal::Benchmark* b, std::initializer_list<int64_t> criteria = {}) {
    if (std::getenv("KLIENTI_BENCH_10M") == nullptr) {
        return;
    }
    if (criteria.size() == 0) {
        b->Arg(10000000);
    }
    for (const int64_t k : criteria) {
        b->Args({10000000, k});
    }
}

BENCHMARK(BM_Load)->Apply(sizes)->Apply([](auto* b) { tenMillion(b); })->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadOneWorker)->Apply(sizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SplitLines)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sort)->Apply([](auto* b) { sizesAndCriteria(b, 9); })->Apply([](auto* b) { tenMillion(b, {2, 5}); })->ArgNames({"n", "criterion"})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortTwoKeys)->ArgsProduct({{1000000}, {0, 1}})->Apply([](auto* b) { tenMillion(b, {0, 1}); })->ArgNames({"n", "composite"})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortOneWorker)->Args({1000000, 2})->Args({1000000, 5})->ArgNames({"n", "criterion"})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Filter)->Apply([](auto* b) { sizesAndCriteria(b, 5); })->Apply([](auto* b) { tenMillion(b, {1}); })->ArgNames({"n", "criterion"})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterRange)->Apply([](auto* b) { sizesAndCriteria(b, 5); })->ArgNames({"n", "criterion"})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterRangeWithPicture)->Apply([](auto* b) { sizesAndCriteria(b, 5); })->ArgNames({"n", "criterion"})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Listing)->Apply(sizes)->Apply([](auto* b) { tenMillion(b); })->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListingOneWorker)->Apply(sizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListingAfterOrdering)->Apply(sizes)->Apply([](auto* b) { tenMillion(b); })->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OutputFile)->Apply(sizes)->Apply([](auto* b) { tenMillion(b); })->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OutputFileOneWorker)->Apply(sizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OutputFileAfterOrdering)->Apply(sizes)->Apply([](auto* b) { tenMillion(b); })->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SlovakRanks)->ArgsProduct({{1000, 10000, 100000, 1000000}, {1, 0}, {0}})->Args({1000000, 1, 1})->Args({1000000, 0, 1})->ArgNames({"n", "one_worker", "windows1250"})->UseRealTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
