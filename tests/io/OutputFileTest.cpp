#include "io/OutputFile.hpp"
#include "io/OutputFileName.hpp"
#include "io/TemporaryFile.hpp"

#include "TestSupport.hpp"
#include "app/Signals.hpp"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>

namespace {

const std::string novak = "850312/0417,Jan,Novak,Hlavna 12,Nitra,ucitel,950,2,800,80,1";
const std::tm local_time = fixedTime(2024, 3, 5, 14, 5);

OutputResult write(const TestTable& t, const std::filesystem::path& directory) {
    FormatBuffers buffers(2, 64);
    return writeOutputFile(t.tabulka.data(), t.pocet(), local_time, directory, buffers);
}

} // namespace

TEST(OutputFileName, IsTheLocalMinuteInEnglish) {
    const struct {
        std::tm local_time;
        const char* name;
    } cases[] = {
        {fixedTime(2024, 3, 5, 14, 5), "Tue 05. Mar. 2024, 14.05.csv"},
        {fixedTime(2025, 1, 1, 0, 0), "Wed 01. Jan. 2025, 00.00.csv"},
        {fixedTime(2026, 12, 31, 23, 59), "Thu 31. Dec. 2026, 23.59.csv"},
        {fixedTime(2026, 8, 9, 9, 30), "Sun 09. Aug. 2026, 09.30.csv"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(outputFileName(c.local_time), c.name);
    }
    EXPECT_EQ(outputFileName(local_time, 2), "Tue 05. Mar. 2024, 14.05 (2).csv");
    EXPECT_EQ(outputFileName(local_time, 17), "Tue 05. Mar. 2024, 14.05 (17).csv");
}

TEST(OutputFile, HoldsTheHeaderAndOneLinePerRecordInTableOrder) {
    const TempDir dir;
    TestTable t;
    t.add(novak);
    t.add("905520/1234,Eva, Kovacova,Lesna 3,Kosice,lekarka,2100,0,0,-5,3");
    t.add("140101/0001,,Toth,Dlha 1,Zilina,student,0450,01,1500,100,2");
    const OutputResult result = write(t, dir.path());
    ASSERT_TRUE(result.written);
    EXPECT_EQ(result.name, dir.path() / "Tue 05. Mar. 2024, 14.05.csv");
    EXPECT_EQ(readFile(result.name), header + "\n" + novak + "\n" +
                                          "905520/1234,Eva, Kovacova,Lesna 3,Kosice,lekarka,2100,0,0,-5,3\n"
                                          "140101/0001,,Toth,Dlha 1,Zilina,student,450,1,1500,100,2\n");
    // An empty table gives the header alone.
    const OutputResult empty = write(TestTable{}, dir.path());
    ASSERT_TRUE(empty.written);
    EXPECT_EQ(readFile(empty.name), header + "\n");
}

TEST(OutputFile, NeverReplacesAnExistingEntry) {
    const TempDir dir;
    TestTable first;
    first.add(novak);
    // A directory and a dangling link of the series' names are entries too.
    std::filesystem::create_directory(dir.path() / "Tue 05. Mar. 2024, 14.05 (2).csv");
    std::filesystem::create_symlink("nowhere", dir.path() / "Tue 05. Mar. 2024, 14.05 (3).csv");
    ASSERT_TRUE(write(first, dir.path()).written);
    ASSERT_TRUE(write(TestTable{}, dir.path()).written);
    EXPECT_EQ(listDir(dir.path()), (std::vector<std::string>{
                                       "Tue 05. Mar. 2024, 14.05 (2).csv",
                                       "Tue 05. Mar. 2024, 14.05 (3).csv",
                                       "Tue 05. Mar. 2024, 14.05 (4).csv",
                                       "Tue 05. Mar. 2024, 14.05.csv",
                                   }));
    EXPECT_EQ(readFile(dir.path() / "Tue 05. Mar. 2024, 14.05.csv"), header + "\n" + novak + "\n");
    EXPECT_EQ(readFile(dir.path() / "Tue 05. Mar. 2024, 14.05 (4).csv"), header + "\n");
}

TEST(OutputFile, FailureLeavesNothingAndNamesTheNameTried) {
    const TempDir dir;
    TestTable t;
    t.add(novak);
    // A regular file where the directory should be stops even root.
    writeFile(dir.path() / "file", "x");
    for (const auto& directory : {dir.path() / "file", dir.path() / "missing"}) {
        const OutputResult result = write(t, directory);
        EXPECT_FALSE(result.written);
        EXPECT_NE(result.error, 0);
        EXPECT_EQ(result.name, directory / "Tue 05. Mar. 2024, 14.05.csv");
    }
    EXPECT_EQ(listDir(dir.path()), std::vector<std::string>{"file"});
}

TEST(TemporaryFile, BothKindsPublishWithThePermissionsOfAPlainCreation) {
    const TempDir dir;
    const mode_t previous = ::umask(027);
    for (const auto kind : {TemporaryFile::Kind::anonymous_if_possible, TemporaryFile::Kind::hidden_name}) {
        std::optional<TemporaryFile> file = TemporaryFile::create(dir.path(), kind);
        ASSERT_TRUE(file);
        EXPECT_EQ(file->isAnonymous(), kind == TemporaryFile::Kind::anonymous_if_possible);
        ASSERT_TRUE(file->write("content\n"));
        std::filesystem::path tried;
        const auto name = [&](int n) { return dir.path() / ("output" + std::to_string(n)); };
        EXPECT_EQ(file->publish(name, 1, 3, tried), 1);
        struct stat info {};
        ASSERT_EQ(::stat(tried.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0640u);
        EXPECT_EQ(readFile(tried), "content\n");
        std::filesystem::remove(tried);
    }
    ::umask(previous);
    EXPECT_TRUE(listDir(dir.path()).empty()); // no hidden name stays behind
}

TEST(TemporaryFile, HiddenNameGoesWhenDiscarded) {
    const TempDir dir;
    {
        const auto file = TemporaryFile::create(dir.path(), TemporaryFile::Kind::hidden_name);
        EXPECT_EQ(listDir(dir.path()).size(), 1u);
    }
    EXPECT_TRUE(listDir(dir.path()).empty());
}

// Interrupted in the middle of a write, in a child process: nothing may stay
// behind under any name, whichever kind of temporary was being written.
TEST(OutputFileDeathTest, InterruptedWriteLeavesNothing) {
    const TempDir dir;
    const struct {
        TemporaryFile::Kind kind;
        int signal;
    } cases[] = {{TemporaryFile::Kind::hidden_name, SIGINT},
                   {TemporaryFile::Kind::hidden_name, SIGTERM},
                   {TemporaryFile::Kind::hidden_name, SIGHUP},
                   {TemporaryFile::Kind::anonymous_if_possible, SIGKILL}};
    for (const auto& c : cases) {
        EXPECT_EXIT(
            {
                installSignalHandlers();
                std::optional<TemporaryFile> file = TemporaryFile::create(dir.path(), c.kind);
                (void)file->write(std::string(100000, 'x'));
                std::raise(c.signal);
            },
            testing::KilledBySignal(c.signal), "");
        EXPECT_TRUE(listDir(dir.path()).empty()) << c.signal;
    }
}
