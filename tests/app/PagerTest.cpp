#include "app/Pager.hpp"

#include "app/Transcript.hpp"
#include "signals/EndingSignals.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

const std::string three = header +
                          "\n850312/0417,Jan,Novak,Hlavna 12,Nitra,ucitel,950,2,800,80,1"
                          "\n905520/1234,Eva,Kovacova,Lesna 3,Kosice,lekarka,2100,0,0,35,2"
                          "\n141231/0001,Adam,Toth,Dlha 1,Zilina,student,450,12,1500,92,3";

// One whole session at a terminal, with the pager given. SIGPIPE is ignored
// meanwhile, as the program has it: a pager that ends early only fails a
// write.
Session runWithPager(const TempDir& dir, const std::string& input, PagerCommand pager,
                     const std::string& content = three) {
    const auto previous_pipe = std::signal(SIGPIPE, SIG_IGN);
    writeFile(dir.path() / "klienti.csv", content);
    std::istringstream in(input);
    StringSink out;
    StringSink err;
    Environment env{in, out, err, fixedCalendar(2026, 12, 7, 14, 5), dir.path(), "klienti.csv", true};
    env.pager = std::move(pager);
    const int status = runKlienti(env);
    std::signal(SIGPIPE, previous_pipe);
    return {out.text(), err.text(), status, {}};
}

} // namespace

TEST(Pager, ChosenAsGitChoosesIt) {
    const struct {
        bool terminal;
        bool no_pager;
        const char* pager;
        const char* less;
        const char* lv;
        std::string command;
        std::vector<std::string> environment;
    } cases[] = {
        {false, false, "most", nullptr, nullptr, "", {}}, // no terminal, no pager
        {true, true, "most", nullptr, nullptr, "", {}},   // --no-pager
        {true, false, "", nullptr, nullptr, "", {}},
        {true, false, " \t ", nullptr, nullptr, "", {}}, // blanks run nothing that would read the listing
        {true, false, "cat", nullptr, nullptr, "", {}},
        {true, false, "most -s", nullptr, nullptr, "most -s", {"LESS=FRX", "LV=-c"}},
        {true, false, "less", "", nullptr, "less", {"LV=-c"}}, // the user's own LESS stays, even empty
        {true, false, nullptr, nullptr, nullptr, "less", {"LESS=FRX", "LV=-c"}},
        {true, false, nullptr, "-R", "-C", "less", {}},
    };
    for (const auto& c : cases) {
        const PagerCommand chosen = choosePager(c.terminal, c.no_pager, c.pager, c.less, c.lv);
        EXPECT_EQ(chosen.command, c.command) << (c.pager ? c.pager : "unset");
        EXPECT_EQ(chosen.environment, c.environment) << (c.pager ? c.pager : "unset");
    }
}

TEST(Pager, GetsTheListingByteForByteAndTheDialogueGoesOn) {
    const TempDir plain_dir;
    const TempDir paged_dir;
    const std::string input = "n2 a1 0 100 3 u";
    const Session plain = run(three, input, plain_dir);
    const std::filesystem::path recorded = paged_dir.path() / "paged.txt";
    // A recording pager, started directly as less is; it sees LESS as the
    // environment gives it, and notes the descriptors and the signal
    // settings it inherited.
    const std::filesystem::path inherited = paged_dir.path() / "inherited.txt";
    const std::filesystem::path script = paged_dir.path() / "pager";
    writeFile(script, "#!/bin/sh\ncat >> '" + recorded.string() + "'\necho \"[$LESS]\" >> '" + recorded.string() +
                          "'\nls -l /proc/$$/fd >> '" + inherited.string() +
                          "'\nexec grep -E '^Sig(Blk|Ign)' /proc/self/status >> '" + inherited.string() + "'\n");
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    const Session paged = runWithPager(paged_dir, input, PagerCommand{script.string(), {"LESS=FRX"}});
    const std::string sort_end = "9. vek klienta\n";
    // Without the pager the two listings follow the two ordering menus.
    const std::size_t first = plain.output.find(sort_end) + sort_end.size();
    const std::size_t first_end = plain.output.find("\nBolo nacitanych", first);
    const std::size_t second = plain.output.find(sort_end, first_end) + sort_end.size();
    const std::size_t second_end = plain.output.find("\nBolo nacitanych", second);
    const std::string listing1 = plain.output.substr(first, first_end - first);
    const std::string listing2 = plain.output.substr(second, second_end - second);
    ASSERT_NE(listing1.find("Klient c. 3"), std::string::npos);
    EXPECT_EQ(readFile(recorded), listing1 + "[FRX]\n" + listing2 + "[FRX]\n");
    std::string dialogue = plain.output;
    dialogue.erase(second, listing2.size());
    dialogue.erase(first, listing1.size());
    EXPECT_EQ(paged.output, dialogue);
    EXPECT_EQ(paged.diagnostics, plain.diagnostics);
    std::vector<std::string> files = listDir(plain_dir.path());
    files.push_back("inherited.txt");
    files.push_back("paged.txt");
    files.push_back("pager");
    std::sort(files.begin(), files.end());
    EXPECT_EQ(listDir(paged_dir.path()), files);
    // Neither the client file, nor the output file being written, nor its
    // directory leaks into the pager; it blocks no signal and ignores neither
    // Ctrl-C, nor Ctrl-\, nor a closed pipe.
    const std::string fds = readFile(inherited);
    EXPECT_EQ(fds.find(paged_dir.path().string() + "/klienti.csv"), std::string::npos) << fds;
    EXPECT_EQ(fds.find(paged_dir.path().string() + "/#"), std::string::npos) << fds;
    EXPECT_EQ(fds.find(paged_dir.path().string() + "\n"), std::string::npos) << fds;
    for (std::size_t at = fds.find("SigBlk:"); at != std::string::npos; at = fds.find("SigBlk:", at + 1)) {
        EXPECT_EQ(fds.substr(at, 24), "SigBlk:\t0000000000000000");
    }
    for (std::size_t at = fds.find("SigIgn:"); at != std::string::npos; at = fds.find("SigIgn:", at + 1)) {
        const unsigned long ignored = std::stoul(fds.substr(at + 8, 16), nullptr, 16);
        for (const int signal : {SIGINT, SIGQUIT, SIGPIPE}) {
            EXPECT_EQ(ignored & (1ul << (signal - 1)), 0u) << signal;
        }
    }
}

TEST(Pager, ThatCannotBeStartedLeavesTheListingOnTheTerminal) {
    const TempDir plain_dir;
    const Session plain = run(three, "n2u", plain_dir);
    const struct {
        std::string command;
        std::string why;
    } cases[] = {
        {"/nikde/strankovac", "klienti: strankovac \"/nikde/strankovac\" sa nepodarilo spustit: No such file or directory\n"},
        {"/nikde/strankovac -s", "klienti: strankovac \"/nikde/strankovac -s\" sa nepodarilo spustit\n"},
        {"exit 126", "klienti: strankovac \"exit 126\" sa nepodarilo spustit\n"},
    };
    for (const auto& c : cases) {
        const TempDir dir;
        const Session s = runWithPager(dir, "n2u", PagerCommand{c.command, {}});
        EXPECT_EQ(s.output, plain.output) << c.command;
        EXPECT_EQ(s.diagnostics, c.why + plain.diagnostics) << c.command;
    }
}

TEST(Pager, NotStartedForAnEmptyListing) {
    const TempDir dir;
    const Session s = runWithPager(dir, "n1u", PagerCommand{"touch '" + (dir.path() / "started").string() + "'", {}},
                                   header);
    EXPECT_EQ(s.status, 0);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "started"));
}

// An ending signal at any moment of a pager's life, and a second one while
// the first waits: the pager's input ends, the program waits for the pager
// and then ends with the first signal's status. The pager is a shell script
// that sends the signals itself and notes its end only after a while, so a
// program that ended before it would find no "end" yet.
TEST(PagerDeathTest, AnEndingSignalWaitsForThePagerWheneverItComes) {
    const TempDir dir;
    const std::string seen = (dir.path() / "seen.txt").string();
    const std::string listing(std::size_t{1} << 20, 'x'); // more than a pipe holds
    const struct {
        std::string pager;
        std::string expected_start;
        int signal;
    } cases[] = {
        // While the program waits for the pager to end, alone and with a second signal.
        {"cat > '" + seen + "'; kill -TERM $PPID; sleep 0.3; echo end >> '" + seen + "'", listing, SIGTERM},
        {"cat > '" + seen + "'; kill -TERM $PPID; sleep 0.1; kill -HUP $PPID; sleep 0.3; echo end >> '" + seen + "'",
         listing, SIGTERM},
        // While the program is blocked on a full pipe: the pager reads what came.
        {"sleep 0.2; kill -TERM $PPID; sleep 0.2; head -c 10 > '" + seen + "'; sleep 0.3; echo end >> '" + seen + "'",
         listing.substr(0, 10), SIGTERM},
        // Ctrl-C from the terminal is the pager's, but not one sent by kill.
        {"cat > '" + seen + "'; kill -INT $PPID; sleep 0.3; echo end >> '" + seen + "'", listing, SIGINT},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(seen);
        EXPECT_EXIT(
            {
                for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
                    std::signal(signal, SIG_DFL);
                }
                handleEndingSignals();
                // The pager inherits none of the death test's pipes, which
                // the test would wait on instead.
                for (int fd = 3; fd < 1024; ++fd) {
                    ::fcntl(fd, F_SETFD, FD_CLOEXEC);
                }
                Pager pager(PagerCommand{"exec 2>/dev/null; " + c.pager, {}});
                if (pager.start()) {
                    pager.input().write(listing);
                    pager.finish();
                }
                std::_Exit(0);
            },
            testing::KilledBySignal(c.signal), "")
            << c.pager;
        EXPECT_EQ(readFile(seen), c.expected_start + "end\n") << c.pager;
    }
}

// The pager's input ended by a signal keeps its descriptor, on /dev/null: a
// listing's late write there succeeds and goes nowhere, not into a file
// opened meanwhile.
TEST(PagerDeathTest, ALateWriteAfterAnEndingSignalGoesNowhere) {
    const TempDir dir;
    const std::string opened = (dir.path() / "opened").string();
    const auto signalled = [&] {
        std::signal(SIGTERM, SIG_DFL);
        handleEndingSignals();
        for (int fd = 3; fd < 1024; ++fd) {
            ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        }
        Pager pager(PagerCommand{"exec 2>/dev/null; kill -TERM $PPID; exec cat > /dev/null", {}});
        struct Late {
            Pager& pager;
            const char* opened;
        } late{pager, opened.c_str()};
        std::optional<OnEndingSignal> after;
        {
            const auto held = holdOffEndingSignals(); // the pager's signal finds both registered
            if (!pager.start()) {
                std::_Exit(9);
            }
            after.emplace(
                [](void* subject) noexcept {
                    const Late& l = *static_cast<Late*>(subject);
                    for (int i = 0; i < 3; ++i) {
                        ::open(l.opened, O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
                    }
                    std::_Exit(l.pager.input().write("late") ? 7 : 8);
                },
                &late);
        }
        ::pause();
    };
    EXPECT_EXIT(signalled(), testing::ExitedWithCode(7), "");
    EXPECT_EQ(readFile(opened), "");
}
