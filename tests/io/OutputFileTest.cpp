#include "io/OutputFile.hpp"
#include "io/OutputFileName.hpp"
#include "io/TemporaryFile.hpp"

#include "TestSupport.hpp"
#include "app/Signals.hpp"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

const std::string jan = "850312/0417,Jan,Novak,Hlavna 12,Nitra,ucitel,950,2,800,80,1";
const std::tm cas = fixedTime(2024, 3, 5, 14, 5);

OutputResult write(const TestTable& t, const std::filesystem::path& adresar) {
    TextBuffer buffer(64);
    return writeOutputFile(t.tabulka.data(), t.pocet(), cas, adresar, buffer);
}

} // namespace

TEST(OutputFileName, IsTheLocalMinuteInEnglish) {
    const struct {
        std::tm cas;
        const char* nazov;
    } pripady[] = {
        {fixedTime(2024, 3, 5, 14, 5), "Tue 05. Mar. 2024, 14.05.csv"},
        {fixedTime(2025, 1, 1, 0, 0), "Wed 01. Jan. 2025, 00.00.csv"},
        {fixedTime(2026, 12, 31, 23, 59), "Thu 31. Dec. 2026, 23.59.csv"},
        {fixedTime(2026, 8, 9, 9, 30), "Sun 09. Aug. 2026, 09.30.csv"},
    };
    for (const auto& p : pripady) {
        EXPECT_EQ(outputFileName(p.cas), p.nazov);
    }
    EXPECT_EQ(outputFileName(cas, 2), "Tue 05. Mar. 2024, 14.05 (2).csv");
    EXPECT_EQ(outputFileName(cas, 17), "Tue 05. Mar. 2024, 14.05 (17).csv");
}

TEST(OutputFile, HoldsTheHeaderAndOneLinePerRecordInTableOrder) {
    const TempDir dir;
    TestTable t;
    t.pridaj(jan);
    t.pridaj("905520/1234,Eva, Kovacova,Lesna 3,Kosice,lekarka,2100,0,0,-5,3");
    t.pridaj("140101/0001,,Toth,Dlha 1,Zilina,student,0450,01,1500,100,2");
    const OutputResult vysledok = write(t, dir.path());
    ASSERT_TRUE(vysledok.written);
    EXPECT_EQ(vysledok.name, dir.path() / "Tue 05. Mar. 2024, 14.05.csv");
    EXPECT_EQ(readFile(vysledok.name), hlavicka + "\n" + jan + "\n" +
                                          "905520/1234,Eva, Kovacova,Lesna 3,Kosice,lekarka,2100,0,0,-5,3\n"
                                          "140101/0001,,Toth,Dlha 1,Zilina,student,450,1,1500,100,2\n");
    // An empty table gives the header alone.
    const OutputResult prazdny = write(TestTable{}, dir.path());
    ASSERT_TRUE(prazdny.written);
    EXPECT_EQ(readFile(prazdny.name), hlavicka + "\n");
}

TEST(OutputFile, NeverReplacesAnExistingEntry) {
    const TempDir dir;
    TestTable prva;
    prva.pridaj(jan);
    // A directory and a dangling link of the series' names are entries too.
    std::filesystem::create_directory(dir.path() / "Tue 05. Mar. 2024, 14.05 (2).csv");
    std::filesystem::create_symlink("nikam", dir.path() / "Tue 05. Mar. 2024, 14.05 (3).csv");
    ASSERT_TRUE(write(prva, dir.path()).written);
    ASSERT_TRUE(write(TestTable{}, dir.path()).written);
    EXPECT_EQ(listDir(dir.path()), (std::vector<std::string>{
                                       "Tue 05. Mar. 2024, 14.05 (2).csv",
                                       "Tue 05. Mar. 2024, 14.05 (3).csv",
                                       "Tue 05. Mar. 2024, 14.05 (4).csv",
                                       "Tue 05. Mar. 2024, 14.05.csv",
                                   }));
    EXPECT_EQ(readFile(dir.path() / "Tue 05. Mar. 2024, 14.05.csv"), hlavicka + "\n" + jan + "\n");
    EXPECT_EQ(readFile(dir.path() / "Tue 05. Mar. 2024, 14.05 (4).csv"), hlavicka + "\n");
}

TEST(OutputFile, FailureLeavesNothingAndNamesTheNameTried) {
    const TempDir dir;
    TestTable t;
    t.pridaj(jan);
    // A regular file where the directory should be stops even root.
    writeFile(dir.path() / "subor", "x");
    for (const auto& adresar : {dir.path() / "subor", dir.path() / "chyba"}) {
        const OutputResult vysledok = write(t, adresar);
        EXPECT_FALSE(vysledok.written);
        EXPECT_NE(vysledok.error, 0);
        EXPECT_EQ(vysledok.name, adresar / "Tue 05. Mar. 2024, 14.05.csv");
    }
    EXPECT_EQ(listDir(dir.path()), std::vector<std::string>{"subor"});
}

TEST(TemporaryFile, BothKindsPublishWithThePermissionsOfAPlainCreation) {
    const TempDir dir;
    const mode_t predosla = ::umask(027);
    for (const auto kind : {TemporaryFile::Kind::anonymous_if_possible, TemporaryFile::Kind::hidden_name}) {
        std::optional<TemporaryFile> subor = TemporaryFile::create(dir.path(), kind);
        ASSERT_TRUE(subor);
        EXPECT_EQ(subor->isAnonymous(), kind == TemporaryFile::Kind::anonymous_if_possible);
        ASSERT_TRUE(subor->write("obsah\n"));
        std::filesystem::path skusany;
        const auto meno = [&](int n) { return dir.path() / ("vystup" + std::to_string(n)); };
        EXPECT_EQ(subor->publish(meno, 1, 3, skusany), 1);
        struct stat info {};
        ASSERT_EQ(::stat(skusany.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0640u);
        EXPECT_EQ(readFile(skusany), "obsah\n");
        std::filesystem::remove(skusany);
    }
    ::umask(predosla);
    EXPECT_TRUE(listDir(dir.path()).empty()); // no hidden name stays behind
}

TEST(TemporaryFile, HiddenNameGoesWhenDiscardedOrOnASignal) {
    const TempDir dir;
    {
        std::optional<TemporaryFile> subor = TemporaryFile::create(dir.path(), TemporaryFile::Kind::hidden_name);
        ASSERT_TRUE(subor);
        EXPECT_EQ(listDir(dir.path()).size(), 1u);
    }
    EXPECT_TRUE(listDir(dir.path()).empty());
    std::optional<TemporaryFile> subor = TemporaryFile::create(dir.path(), TemporaryFile::Kind::hidden_name);
    ASSERT_TRUE(subor);
    removeTemporaryOnSignal();
    EXPECT_TRUE(listDir(dir.path()).empty());
}

// Interrupted in the middle of a write, in a child process: nothing may stay
// behind under any name, whichever kind of temporary was being written.
TEST(OutputFileDeathTest, InterruptedWriteLeavesNothing) {
    const TempDir dir;
    const struct {
        TemporaryFile::Kind kind;
        int signal;
    } pripady[] = {{TemporaryFile::Kind::hidden_name, SIGINT},
                   {TemporaryFile::Kind::hidden_name, SIGTERM},
                   {TemporaryFile::Kind::hidden_name, SIGHUP},
                   {TemporaryFile::Kind::anonymous_if_possible, SIGKILL}};
    for (const auto& p : pripady) {
        EXPECT_EXIT(
            {
                installSignalHandlers();
                std::optional<TemporaryFile> subor = TemporaryFile::create(dir.path(), p.kind);
                (void)subor->write(std::string(100000, 'x'));
                std::raise(p.signal);
            },
            testing::KilledBySignal(p.signal), "");
        EXPECT_TRUE(listDir(dir.path()).empty()) << p.signal;
    }
}

// A file-size limit makes the write fail like any other failure.
TEST(OutputFileDeathTest, FileSizeLimitIsAnOrdinaryFailure) {
    const TempDir dir;
    TestTable t;
    for (int i = 0; i < 100; ++i) {
        t.pridaj(jan);
    }
    const auto zapisSLimitom = [&] {
        installSignalHandlers();
        rlimit limit{};
        limit.rlim_cur = limit.rlim_max = 1000;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const OutputResult vysledok = write(t, dir.path());
        std::exit(!vysledok.written && vysledok.error == EFBIG ? 0 : 1);
    };
    EXPECT_EXIT(zapisSLimitom(), testing::ExitedWithCode(0), "");
    EXPECT_TRUE(listDir(dir.path()).empty());
}
