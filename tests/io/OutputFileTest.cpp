#include "io/OutputFile.hpp"
#include "io/OutputFileName.hpp"
#include "io/TemporaryFile.hpp"

#include "TestSupport.hpp"
#include "io/FailingDisk.hpp"
#include "signals/EndingSignals.hpp"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

const std::string novak = "850312/0417,Jan,Novak,Hlavna 12,Nitra,ucitel,950,2,800,80,1";
const std::tm local_time = fixedTime(2024, 3, 5, 14, 5);

OutputResult write(const TestTable& t, const std::filesystem::path& directory) {
    OutputFile file(directory, t.tabulka.size(), 2);
    file.write(t.tabulka.data(), t.tabulka.size());
    return file.publish(local_time);
}

// Temporary files of one kind while it lives: anonymous where the system
// allows, or hidden under a name.
struct TemporaryKind {
    explicit TemporaryKind(bool hidden) { FailingDisk::refuseAnonymousFiles(hidden); }
    ~TemporaryKind() { FailingDisk::refuseAnonymousFiles(false); }
};

std::string name(int number) { return std::string(OutputFileName(local_time, number).view()); }

} // namespace

TEST(OutputFileName, IsTheLocalMinuteInEnglish) {
    const struct {
        std::tm local_time;
        int number;
        const char* name;
    } cases[] = {
        {fixedTime(2024, 3, 5, 14, 5), 1, "Tue 05. Mar. 2024, 14.05.csv"},
        {fixedTime(2025, 1, 1, 0, 0), 1, "Wed 01. Jan. 2025, 00.00.csv"},
        {fixedTime(2026, 12, 31, 23, 59), 1, "Thu 31. Dec. 2026, 23.59.csv"},
        {fixedTime(2026, 8, 9, 9, 30), 1, "Sun 09. Aug. 2026, 09.30.csv"},
        {local_time, 2, "Tue 05. Mar. 2024, 14.05 (2).csv"},
        {local_time, 9999, "Tue 05. Mar. 2024, 14.05 (9999).csv"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(OutputFileName(c.local_time, c.number).view(), c.name);
    }
}

TEST(OutputFile, HoldsTheHeaderAndOneLinePerRecordInTableOrder) {
    const TempDir dir;
    TestTable t;
    t.add(novak);
    t.add("905520/1234,Eva, Kovacova,Lesna 3,Kosice,lekarka,2100,0,0,-5,3");
    t.add("140101/0001,,Toth,Dlha 1,Zilina,student,0450,01,1500,100,2");
    const OutputResult result = write(t, dir.path());
    ASSERT_TRUE(result.written);
    EXPECT_EQ(result.name.view(), name(1));
    EXPECT_EQ(readFile(dir.path() / name(1)), header + "\n" + novak + "\n" +
                                                 "905520/1234,Eva, Kovacova,Lesna 3,Kosice,lekarka,2100,0,0,-5,3\n"
                                                 "140101/0001,,Toth,Dlha 1,Zilina,student,450,1,1500,100,2\n");
    // An empty table gives the header alone.
    const OutputResult empty = write(TestTable{}, dir.path());
    ASSERT_TRUE(empty.written);
    EXPECT_EQ(readFile(dir.path() / std::string(empty.name.view())), header + "\n");
}

TEST(OutputFile, NeverReplacesAnExistingEntry) {
    const TempDir dir;
    TestTable first;
    first.add(novak);
    // A directory and a dangling link of the series' names are entries too.
    std::filesystem::create_directory(dir.path() / name(2));
    std::filesystem::create_symlink("nowhere", dir.path() / name(3));
    ASSERT_TRUE(write(first, dir.path()).written);
    ASSERT_TRUE(write(TestTable{}, dir.path()).written);
    EXPECT_EQ(listDir(dir.path()), (std::vector<std::string>{name(2), name(3), name(4), name(1)}));
    EXPECT_EQ(readFile(dir.path() / name(1)), header + "\n" + novak + "\n");
    EXPECT_EQ(readFile(dir.path() / name(4)), header + "\n");
}

TEST(OutputFile, AMinutesNamesEndAtTheLastNumber) {
    const TempDir dir;
    TestTable t;
    t.add(novak);
    // A freed name of the minute is taken again; another minute starts anew.
    ASSERT_TRUE(write(t, dir.path()).written);
    ASSERT_TRUE(write(t, dir.path()).written);
    std::filesystem::remove(dir.path() / name(1));
    EXPECT_EQ(write(t, dir.path()).name.view(), name(1));
    std::tm next_minute = local_time;
    ++next_minute.tm_min;
    OutputFile other(dir.path(), 1, 1);
    other.write(t.tabulka.data(), 1);
    EXPECT_EQ(other.publish(next_minute).name.view(), OutputFileName(next_minute).view());
    // The series ends at 9999: beyond, every name counts as taken.
    for (int number = 3; number <= 9998; ++number) {
        writeFile(dir.path() / name(number), "");
    }
    const OutputResult last = write(t, dir.path());
    EXPECT_TRUE(last.written);
    EXPECT_EQ(last.name.view(), name(9999));
    const OutputResult beyond = write(t, dir.path());
    EXPECT_FALSE(beyond.written);
    EXPECT_EQ(beyond.error, EEXIST);
    EXPECT_EQ(beyond.name.view(), name(9999));
}

TEST(OutputFile, FailureLeavesNothingAndNamesTheFirstName) {
    const TempDir dir;
    TestTable t;
    t.add(novak);
    // A regular file where the directory should be stops even root.
    writeFile(dir.path() / "file", "x");
    for (const auto& directory : {dir.path() / "file", dir.path() / "missing"}) {
        const OutputResult result = write(t, directory);
        EXPECT_FALSE(result.written);
        EXPECT_NE(result.error, 0);
        EXPECT_EQ(result.name.view(), name(1));
    }
    // A disk that fails to make the file durable, or to give it its name.
    FailingDisk::failNextSync(EIO);
    const OutputResult unsynced = write(t, dir.path());
    FailingDisk::failNextLink(EIO);
    const OutputResult unlinked = write(t, dir.path());
    FailingDisk::reset();
    for (const OutputResult& result : {unsynced, unlinked}) {
        EXPECT_FALSE(result.written);
        EXPECT_EQ(result.error, EIO);
        EXPECT_EQ(result.name.view(), name(1)); // a failing link is no taken name
    }
    EXPECT_EQ(listDir(dir.path()), std::vector<std::string>{"file"});
}

TEST(TemporaryFile, BothKindsPublishWithThePermissionsOfAPlainCreation) {
    const TempDir dir;
    const mode_t previous = ::umask(027);
    for (const bool hidden : {false, true}) {
        const TemporaryKind kind(hidden);
        std::optional<TemporaryFile> file = TemporaryFile::create(dir.path());
        ASSERT_TRUE(file);
        // Only the hidden kind has a name while it is written.
        EXPECT_EQ(listDir(dir.path()).size(), hidden ? 1u : 0u);
        ASSERT_TRUE(file->write("content\n"));
        OutputFileName tried;
        EXPECT_TRUE(file->publish(local_time, 3, tried));
        struct stat info {};
        ASSERT_EQ(::stat((dir.path() / name(1)).c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0640u);
        EXPECT_EQ(readFile(dir.path() / name(1)), "content\n");
        std::filesystem::remove(dir.path() / name(1));
    }
    ::umask(previous);
    EXPECT_TRUE(listDir(dir.path()).empty()); // no hidden name stays behind
}

TEST(TemporaryFile, HiddenNamesNeverOpenAnExistingEntry) {
    const TempDir dir;
    std::string taken;
    {
        const TemporaryKind kind(true);
        const auto first = TemporaryFile::create(dir.path());
        // The next hidden name is the same with the next number.
        const std::string used = listDir(dir.path()).at(0);
        const std::size_t number_at = used.rfind('-') + 1;
        taken = used.substr(0, number_at) + std::to_string(std::stoi(used.substr(number_at)) + 1) + ".tmp";
        writeFile(dir.path() / taken, "someone else's");
        std::optional<TemporaryFile> second = TemporaryFile::create(dir.path());
        ASSERT_TRUE(second);
        ASSERT_TRUE(second->write("mine"));
        EXPECT_EQ(listDir(dir.path()).size(), 3u);
    }
    EXPECT_EQ(listDir(dir.path()), std::vector<std::string>{taken});
    EXPECT_EQ(readFile(dir.path() / taken), "someone else's");
}

// Interrupted in the middle of a write, in a child process: nothing may stay
// behind under any name, whichever kind of temporary was being written. A
// signal the caller ignores (nohup) stays ignored: the SIGTERM after it ends
// the program.
TEST(OutputFileDeathTest, InterruptedWriteLeavesNothing) {
    const TempDir dir;
    const struct {
        bool hidden;
        int signal;
        bool ignored;
    } cases[] = {{true, SIGINT, false}, {true, SIGTERM, false}, {true, SIGHUP, false},
                 {true, SIGQUIT, false}, {true, SIGHUP, true},  {false, SIGKILL, false}};
    for (const auto& c : cases) {
        EXPECT_EXIT(
            {
                std::signal(SIGTERM, SIG_DFL);
                std::signal(c.signal, c.ignored ? SIG_IGN : SIG_DFL);
                handleEndingSignals();
                FailingDisk::refuseAnonymousFiles(c.hidden);
                std::optional<TemporaryFile> file = TemporaryFile::create(dir.path());
                (void)file->write(std::string(100000, 'x'));
                ::kill(::getpid(), c.signal);
                if (c.ignored) {
                    ::kill(::getpid(), SIGTERM);
                }
                ::pause();
            },
            testing::KilledBySignal(c.ignored ? SIGTERM : c.signal), "");
        EXPECT_TRUE(listDir(dir.path()).empty()) << c.signal;
    }
}

// A write that fails on one of the writer's own threads is as much a failure
// as one on the thread that asked for the file, whatever that thread's errno
// holds: no name shows a file cut short, and the error is the write's.
TEST(OutputFile, AWriteFailingOnAnyWorkerPublishesNothing) {
    const TempDir dir;
    TestTable t;
    for (int i = 0; i < 4 * 16384 + 1; ++i) {
        t.tabulka.push_back(nullptr);
    }
    t.add(novak);
    for (Klient*& entry : t.tabulka) {
        entry = t.tabulka.back();
    }
    const auto previous_handler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit previous {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previous), 0);
    struct rlimit limited = previous;
    limited.rlim_cur = 4096; // the header and a little: the first batch fails
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    std::vector<OutputResult> results;
    // Which worker meets the failure is chance: tried a few times over, each
    // on a fresh thread whose errno is still 0, as in a filter cycle.
    for (int attempt = 0; attempt < 10; ++attempt) {
        std::thread([&] {
            OutputFile file(dir.path(), t.tabulka.size(), 4);
            errno = 0;
            file.write(t.tabulka.data(), t.tabulka.size());
            results.push_back(file.publish(local_time));
        }).join();
    }
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previous_handler);
    for (const OutputResult& result : results) {
        EXPECT_FALSE(result.written);
        EXPECT_EQ(result.error, EFBIG);
    }
    EXPECT_TRUE(listDir(dir.path()).empty());
}
