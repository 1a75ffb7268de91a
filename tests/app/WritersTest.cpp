// The two writers: the console listing and the output file's record line.

#include "app/ConsoleListing.hpp"
#include "io/RecordLine.hpp"

#include "TestSupport.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

std::string listing(const TestTable& t, unsigned workers = 1) {
    StringSink out;
    WriterBuffers buffers = listingBuffers(t.pocet(), workers);
    printClients(t.tabulka.data(), t.pocet(), out, buffers);
    return out.text();
}

// A sink that hands each write to a function, slowly where asked: a worker
// then still writes one batch while the others format and fail.
template <typename Write>
struct FunctionSink final : ByteSink {
    explicit FunctionSink(Write w, std::chrono::microseconds pause = {}) : write_(std::move(w)), pause_(pause) {}
    bool write(std::string_view bytes) noexcept override {
        std::this_thread::sleep_for(pause_);
        return write_(bytes);
    }
    Write write_;
    std::chrono::microseconds pause_;
};

const auto numbers = [](TextBuffer& buffer, std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i) {
        buffer.appendNumber(static_cast<int32_t>(i));
        buffer.append(' ');
    }
};

std::string block(int number, const std::string& discipline) {
    return "Klient c. " + std::to_string(number) +
           "\nMeno: Jan\nPriezvisko: Novak\nAdresa: Hlavna 12, Nitra\nPovolanie: ucitel\nMesacna mzda: 950 eur\n"
           "Pocet uverov: 2\nSuma uverov: 800 eur\nBonita: 80 bodov (max. 100)\nPlatobna disciplina: " +
           discipline + "\n______________________________\n";
}

} // namespace

TEST(ConsoleListing, BlocksNumberedInTableOrderWithTheDisciplineAsAWord) {
    TestTable t;
    for (const char* code : {"1", "2", "3", "0", "9"}) {
        t.add(std::string("850312/0417,Jan,Novak,Hlavna 12,Nitra,ucitel,950,2,800,80,") + code);
    }
    EXPECT_EQ(listing(t), block(1, "vyborna") + block(2, "priemerna") + block(3, "slaba") + block(4, "slaba") +
                              block(5, "slaba"));
    EXPECT_EQ(listing(TestTable{}), "");
}

TEST(ConsoleListing, LargeTablesAreWrittenWholeOnAnyNumberOfThreads) {
    // The listing is formatted in batches, side by side: they must join exactly.
    TestTable t;
    std::string expected;
    for (int i = 1; i <= 20000; ++i) {
        t.add("850312/0417,Jan,Novak,Hlavna 12,Nitra,ucitel,950,2,800,80,1");
        expected += block(i, "vyborna");
    }
    for (const unsigned workers : {1u, 2u, 3u}) {
        EXPECT_EQ(listing(t, workers), expected) << workers;
    }
}

TEST(Writers, TheLargestRecordFitsTheRoomCountedForIt) {
    // Every text at its limit, every number at its most negative, the longest
    // discipline word: exactly the room the writers take per record.
    Klient k;
    k.rc.setCislo(std::string(11, 'r'));
    k.setMeno(std::string(19, 'm'));
    k.setPriezvisko(std::string(19, 'p'));
    k.setUlica(std::string(29, 'u'));
    k.setMesto(std::string(19, 'c'));
    k.setPovolanie(std::string(19, 'o'));
    for (void (Klient::*set)(int32_t) : {&Klient::setPlat, &Klient::setPocetUverov, &Klient::setSumaUverov,
                                         &Klient::setBonita, &Klient::setSplacalNacas}) {
        (k.*set)(INT32_MIN);
    }
    const std::string n = "-2147483648";
    TextBuffer line(recordLineRoom(Dialect{}));
    appendRecordLine(line, k, Dialect{});
    EXPECT_EQ(line.text(), std::string(11, 'r') + "," + std::string(19, 'm') + "," + std::string(19, 'p') + "," +
                               std::string(29, 'u') + "," + std::string(19, 'c') + "," + std::string(19, 'o') + "," +
                               n + "," + n + "," + n + "," + n + "," + n + "\n");
    k.setSplacalNacas(2);
    TestTable t;
    t.tabulka = {&k};
    EXPECT_EQ(listing(t), "Klient c. 1\nMeno: " + std::string(19, 'm') + "\nPriezvisko: " + std::string(19, 'p') +
                              "\nAdresa: " + std::string(29, 'u') + ", " + std::string(19, 'c') +
                              "\nPovolanie: " + std::string(19, 'o') + "\nMesacna mzda: " + n +
                              " eur\nPocet uverov: " + n + "\nSuma uverov: " + n + " eur\nBonita: " + n +
                              " bodov (max. 100)\nPlatobna disciplina: priemerna\n______________________________\n");
}

TEST(WriteInOrder, TellsProgressAfterEachBatchInOrder) {
    struct Told {
        std::vector<std::pair<uint64_t, uint64_t>> calls;
    } told;
    const ProgressCallback progress(
        [](void* t, uint64_t done, uint64_t total) { static_cast<Told*>(t)->calls.emplace_back(done, total); }, &told);
    WriterBuffers buffers(25, 10, 1, 2);
    StringSink out;
    EXPECT_TRUE(writeInOrder(25, buffers, [](TextBuffer& b, std::size_t, std::size_t) { b.append('x'); }, out,
                             progress));
    EXPECT_EQ(out.text(), "xxx");
    EXPECT_EQ(told.calls, (std::vector<std::pair<uint64_t, uint64_t>>{{10, 25}, {20, 25}, {25, 25}}));
}

TEST(WriteInOrder, WhereNoThreadCanBeStartedOneWorkerWritesEveryBatchInOrder) {
    WriterBuffers buffers(50, 10, TextBuffer::longest_number, 3);
    StringSink text(64); // nothing to allocate while no allocation succeeds
    {
        const AllocationLimit limit(1);
        EXPECT_TRUE(writeInOrder(
            50, buffers,
            [](TextBuffer& b, std::size_t from, std::size_t) { b.appendNumber(static_cast<int32_t>(from)); }, text,
            {}));
    }
    EXPECT_EQ(text.text(), "010203040");
}

// A sink that fails, or a formatter that throws, while another worker still
// writes the batch before: every worker stops, none waits for ever (a hang
// here ends in the test's timeout), and what was written is a whole prefix.
TEST(WriteInOrder, AFailingSinkOrFormatterStopsEveryWorker) {
    for (const unsigned workers : {1u, 2u, 4u}) {
        for (int round = 0; round < 20; ++round) {
            WriterBuffers buffers(1000, 10, TextBuffer::longest_number + 1, workers);
            std::string text;
            FunctionSink failing_sink(
                [&](std::string_view piece) {
                    text += piece;
                    return text.size() < 100;
                },
                std::chrono::microseconds(200));
            EXPECT_FALSE(writeInOrder(1000, buffers, numbers, failing_sink, {}));
            EXPECT_EQ(text, "0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 25 26 27 28 29 30 31 "
                            "32 33 34 35 36 37 38 39 ")
                << workers;
            text.clear();
            const auto failing_format = [](TextBuffer& buffer, std::size_t from, std::size_t to) {
                if (from == 50) {
                    throw std::bad_alloc();
                }
                numbers(buffer, from, to);
            };
            FunctionSink slow_sink(
                [&](std::string_view piece) {
                    text += piece;
                    return true;
                },
                std::chrono::microseconds(200));
            EXPECT_THROW(writeInOrder(1000, buffers, failing_format, slow_sink, {}), std::bad_alloc) << workers;
            // Some of the batches before the failing one, in order.
            std::string before;
            for (int i = 0; i < 50; ++i) {
                before += std::to_string(i) + " ";
            }
            EXPECT_EQ(text, before.substr(0, text.size())) << workers;
        }
    }
}
