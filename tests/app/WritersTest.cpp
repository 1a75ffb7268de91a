// The two writers: the console listing and the output file's record line.

#include "app/ConsoleListing.hpp"
#include "io/RecordLine.hpp"

#include "TestSupport.hpp"

#include <gtest/gtest.h>

#include <sstream>

namespace {

std::string listing(const TestTable& t, unsigned workers = 1) {
    std::ostringstream out;
    WriterBuffers buffers = listingBuffers(t.pocet(), workers);
    printClients(t.tabulka.data(), t.pocet(), out, buffers);
    return out.str();
}

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
    TextBuffer line(record_line_room);
    appendRecordLine(line, k);
    EXPECT_FALSE(line.overflowed());
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

TEST(TextBuffer, FillsExactlyAndAnOverflowWritesNothingUntilCleared) {
    TextBuffer buffer(4);
    buffer.append("abcd");
    EXPECT_FALSE(buffer.overflowed());
    buffer.append('x');
    EXPECT_TRUE(buffer.overflowed());
    EXPECT_EQ(buffer.text(), "abcd");
    buffer.clear();
    EXPECT_FALSE(buffer.overflowed());
    buffer.append("abcdef");
    buffer.append('x');
    EXPECT_TRUE(buffer.overflowed());
    EXPECT_EQ(buffer.text(), "");
}

TEST(WriteInOrder, TellsProgressAfterEachBatchInOrder) {
    struct Told {
        std::vector<std::pair<uint64_t, uint64_t>> calls;
    } told;
    const ProgressCallback progress(
        [](void* t, uint64_t done, uint64_t total) { static_cast<Told*>(t)->calls.emplace_back(done, total); }, &told);
    WriterBuffers buffers(25, 10, 1, 2);
    EXPECT_TRUE(writeInOrder(25, buffers, [](TextBuffer& b, std::size_t, std::size_t) { b.append('x'); },
                             [](std::string_view) { return true; }, progress));
    EXPECT_EQ(told.calls, (std::vector<std::pair<uint64_t, uint64_t>>{{10, 25}, {20, 25}, {25, 25}}));
}

TEST(WriteInOrder, WhereNoThreadCanBeStartedOneWorkerWritesEveryBatchInOrder) {
    WriterBuffers buffers(50, 10, TextBuffer::longest_number, 3);
    std::string text;
    text.reserve(64); // nothing to allocate while no allocation succeeds
    {
        const AllocationLimit limit(1);
        EXPECT_TRUE(writeInOrder(50, buffers,
                                 [](TextBuffer& b, std::size_t from, std::size_t) {
                                     b.appendNumber(static_cast<int32_t>(from));
                                 },
                                 [&](std::string_view piece) {
                                     text.append(piece.data(), piece.size());
                                     return true;
                                 },
                                 {}));
    }
    EXPECT_EQ(text, "010203040");
}

TEST(WriteInOrder, StopsAtAFailedHandOnOrAnOverflowAndPassesOnAFormattersFailure) {
    const auto numbers = [](TextBuffer& buffer, std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i) {
            buffer.appendNumber(static_cast<int32_t>(i));
            buffer.append(' ');
        }
    };
    for (const unsigned workers : {1u, 3u}) {
        WriterBuffers buffers(1000, 10, TextBuffer::longest_number + 1, workers);
        std::string text;
        EXPECT_FALSE(writeInOrder(1000, buffers, numbers, [&](std::string_view piece) {
            text += piece;
            return text.size() < 100;
        }, {}));
        EXPECT_EQ(text.substr(0, 20), "0 1 2 3 4 5 6 7 8 9 ");
        EXPECT_LT(text.size(), 200u) << workers;
        // Records longer than the room taken for them: nothing is handed on.
        WriterBuffers small(1000, 10, 11, workers);
        text.clear();
        EXPECT_FALSE(writeInOrder(1000, small, [&](TextBuffer& buffer, std::size_t from, std::size_t to) {
            for (std::size_t i = from; i < to; ++i) {
                buffer.append("twelve bytes");
            }
        }, [&](std::string_view piece) {
            text += piece;
            return true;
        }, {}));
        EXPECT_EQ(text, "");
        // One batch fails: the workers waiting for their turn behind it end too.
        const auto failing = [](TextBuffer&, std::size_t from, std::size_t) {
            if (from == 500) {
                throw std::bad_alloc();
            }
        };
        EXPECT_THROW(writeInOrder(1000, buffers, failing, [](std::string_view) { return true; }, {}), std::bad_alloc)
            << workers;
    }
}
