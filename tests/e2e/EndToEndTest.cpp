// Runs the built klienti in a directory of its own, with standard input from
// a file, and compares its whole standard output, standard error and exit
// status; the dialogue's details are the in-process tests' work.

#include "TestSupport.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

const std::string novak = "850312/0417,Jan,Novak,Hlavna 12,Nitra,ucitel,950,2,800,80,1";
const std::string kovacova = "905520/1234,Eva,Kovacova,Lesna 3,Kosice,lekarka,2100,0,0,35,2";

struct Result {
    std::string output;
    int status;
    std::string diagnostics;
};

// Runs klienti with the arguments (quoted for the shell); shell runs before
// it, in the same shell (a limit, say).
Result runKlienti(const TempDir& dir, const std::string& input, const std::string& arguments = "",
                  const std::string& shell = "") {
    writeFile(dir.path() / "stdin.txt", input);
    const std::string command = "cd '" + dir.path().string() + "' && " + shell + " '" KLIENTI_EXE "' " + arguments +
                                " < stdin.txt > stdout.txt 2> stderr.txt";
    const int status = std::system(command.c_str());
    const Result result{readFile(dir.path() / "stdout.txt"), WIFEXITED(status) ? WEXITSTATUS(status) : -1,
                        readFile(dir.path() / "stderr.txt")};
    for (const char* name : {"stdin.txt", "stdout.txt", "stderr.txt"}) {
        std::filesystem::remove(dir.path() / name);
    }
    return result;
}

std::string menu(int pocet) {
    return "\nBolo nacitanych " + std::to_string(pocet) +
           " zaznamov o klientoch banky.\n\nZelate si tieto zaznamy filtrovat?\n"
           "Vyberte si jednu z moznosti a zadajte prislusny znak.\nA - ano\nN - nie\nU - ukoncit program\n";
}

std::vector<std::string> outputsIn(const TempDir& dir) {
    std::vector<std::string> outputs;
    for (const std::string& name : listDir(dir.path())) {
        if (name != "klienti.csv") {
            outputs.push_back(name);
        }
    }
    return outputs;
}

} // namespace

TEST(EndToEnd, SessionOnTheSystemClock) {
    const TempDir dir;
    writeFile(dir.path() / "klienti.csv", header + "\r\n" + novak + "\r\nzly riadok\r\n" + kovacova + "\r\n");
    const std::time_t before = std::time(nullptr);
    const Result r = runKlienti(dir, "n\n8\nu\n");
    const std::time_t after = std::time(nullptr);
    EXPECT_EQ(r.output,
              "Riadok 3 v subore klienti.csv ma nespravny format (ma 1 poli, ocakava sa 11), zaznam bol preskoceny.\n" + menu(2) +
                  "\nZadajte kriterium pre usporiadanie zaznamov:\n1. meno\n2. priezvisko\n3. mesto\n4. povolanie\n"
                  "5. mesacny plat\n6. pocet uverov\n7. suma uverov\n8. bonita\n9. vek klienta\n"
                  "Klient c. 1\nMeno: Eva\nPriezvisko: Kovacova\nAdresa: Lesna 3, Kosice\nPovolanie: lekarka\n"
                  "Mesacna mzda: 2100 eur\nPocet uverov: 0\nSuma uverov: 0 eur\nBonita: 35 bodov (max. 100)\n"
                  "Platobna disciplina: priemerna\n______________________________\n"
                  "Klient c. 2\nMeno: Jan\nPriezvisko: Novak\nAdresa: Hlavna 12, Nitra\nPovolanie: ucitel\n"
                  "Mesacna mzda: 950 eur\nPocet uverov: 2\nSuma uverov: 800 eur\nBonita: 80 bodov (max. 100)\n"
                  "Platobna disciplina: vyborna\n______________________________\n" +
                  menu(2));
    EXPECT_EQ(r.status, 0);
    // The output is named after the local minute of the run.
    const std::vector<std::string> outputs = outputsIn(dir);
    ASSERT_EQ(outputs.size(), 1u);
    std::vector<std::string> minutes;
    for (std::time_t t = before; t <= after + 60; t += 60) {
        char name[80];
        std::strftime(name, sizeof name, "%a %d. %b. %Y, %H.%M.csv", std::localtime(&t));
        minutes.emplace_back(name);
    }
    EXPECT_NE(std::find(minutes.begin(), minutes.end(), outputs[0]), minutes.end()) << outputs[0];
    EXPECT_EQ(r.diagnostics, "klienti: do suboru \"" + outputs[0] + "\" bolo zapisanych 2 zaznamov\n");
    EXPECT_EQ(readFile(dir.path() / outputs[0]), header + "\n" + kovacova + "\n" + novak + "\n");
}

TEST(EndToEnd, CommandLineOfAUnixTool) {
    const TempDir dir;
    const std::string more = "klienti: viac v \"klienti --help\"\n";
    const struct {
        std::string arguments;
        int status;
        std::string output_start;
        std::string diagnostics;
    } cases[] = {
        {"--help", 0, "Pouzitie: klienti [--collation sk|bytes] [--no-pager] [SUBOR]\n", ""},
        {"-h", 0, "Pouzitie: klienti [--collation sk|bytes] [--no-pager] [SUBOR]\n", ""},
        {"--version", 0, "klienti " KLIENTI_VERSION "\n", ""},
        {"--verbose", 2, "", "klienti: neznama volba \"--verbose\"\n" + more},
        {"-", 2, "", "klienti: neznama volba \"-\": standardny vstup patri dialogu\n" + more},
        {"a.csv b.csv", 2, "", "klienti: nadbytocny argument \"b.csv\": program cita jediny subor\n" + more},
        {"chyba.csv", 0, "Subor sa nepodarilo otvorit",
         "klienti: subor \"chyba.csv\" sa nepodarilo otvorit: No such file or directory\n"},
        {"/proc/self/mem", 0, "Subor sa nepodarilo otvorit",
         "klienti: subor \"/proc/self/mem\" sa nepodarilo precitat: Input/output error\n"},
    };
    for (const auto& c : cases) {
        const Result r = runKlienti(dir, "u", c.arguments);
        EXPECT_EQ(r.status, c.status) << c.arguments;
        EXPECT_EQ(r.output.substr(0, c.output_start.size()), c.output_start) << c.arguments;
        EXPECT_EQ(r.diagnostics, c.diagnostics) << c.arguments;
        EXPECT_TRUE(listDir(dir.path()).empty()) << c.arguments;
    }
}

// A job from the command line: its whole standard output, its note and its
// exit status; it reads no standard input, and a refused one reads nothing.
TEST(EndToEnd, AJobFromTheCommandLine) {
    const TempDir dir;
    writeFile(dir.path() / "klienti.csv", header + "\n" + novak + "\n" + kovacova);
    const std::string more = "klienti: viac v \"klienti --help\"\n";
    const struct {
        std::string arguments;
        int status;
        std::string output;
        std::string diagnostics;
    } cases[] = {
        {"--order -bonita --output -", 0, header + "\n" + novak + "\n" + kovacova + "\n",
         "klienti: na standardny vystup bolo zapisanych 2 zaznamov\n"},
        {"--filter mzda=2000.. --output - klienti.csv", 0, header + "\n" + kovacova + "\n",
         "klienti: na standardny vystup bolo zapisanych 1 zaznamov\n"},
        {"--filter vek=30.. --list --output x/r.csv", 1,
         "Klient c. 1\nMeno: Jan\nPriezvisko: Novak\nAdresa: Hlavna 12, Nitra\nPovolanie: ucitel\n"
         "Mesacna mzda: 950 eur\nPocet uverov: 2\nSuma uverov: 800 eur\nBonita: 80 bodov (max. 100)\n"
         "Platobna disciplina: vyborna\n______________________________\n"
         "Klient c. 2\nMeno: Eva\nPriezvisko: Kovacova\nAdresa: Lesna 3, Kosice\nPovolanie: lekarka\n"
         "Mesacna mzda: 2100 eur\nPocet uverov: 0\nSuma uverov: 0 eur\nBonita: 35 bodov (max. 100)\n"
         "Platobna disciplina: priemerna\n______________________________\n",
         "klienti: vystupny subor \"x/r.csv\" sa nepodarilo zapisat: No such file or directory\n"},
        {"--order plat", 2, "", "klienti: nezname kriterium \"plat\"; kriteria su: mzda, pocet-uverov, suma-uverov, "
                                "bonita, vek, meno, priezvisko, mesto, povolanie\n" + more},
        {"--filter bonita=9..1 nikde.csv", 2, "",
         "klienti: vo filtri \"bonita=9..1\" je dolna hranica vacsia ako horna\n" + more},
        {"--order meno nikde.csv", 1, "", "klienti: subor \"nikde.csv\" sa nepodarilo otvorit: No such file or directory\n"},
        {"--order meno --output /dev/full", 1, "", "klienti: vystupny subor \"/dev/full\" uz existuje; existujuci subor sa neprepisuje\n"},
    };
    for (const auto& c : cases) {
        const Result r = runKlienti(dir, "u", c.arguments);
        EXPECT_EQ(r.status, c.status) << c.arguments;
        EXPECT_EQ(r.output, c.output) << c.arguments;
        EXPECT_EQ(r.diagnostics, c.diagnostics) << c.arguments;
        EXPECT_TRUE(outputsIn(dir).empty()) << c.arguments;
    }
    const Result full = runKlienti(dir, "", "--order meno --output -", "sh -c 'exec \"$0\" \"$@\" > /dev/full'");
    EXPECT_EQ(full.status, 1);
    EXPECT_EQ(full.diagnostics, "klienti: vystup sa nepodarilo zapisat: No space left on device\n");
    // A listing that cannot be written fails the job; its file is whole.
    const Result listing = runKlienti(dir, "", "--list --output l.csv", "sh -c 'exec \"$0\" \"$@\" > /dev/full'");
    EXPECT_EQ(listing.status, 1);
    EXPECT_EQ(listing.diagnostics, "klienti: do suboru \"l.csv\" bolo zapisanych 2 zaznamov\n"
                                   "klienti: vypis sa nepodarilo zapisat: No space left on device\n");
    EXPECT_EQ(readFile(dir.path() / "l.csv"), header + "\n" + novak + "\n" + kovacova + "\n");
    std::filesystem::remove(dir.path() / "l.csv");
    const Result report = runKlienti(dir, "", "--filter bonita=40..100 --order priezvisko --output report.csv");
    EXPECT_EQ(report.status, 0);
    EXPECT_EQ(report.output, "");
    EXPECT_EQ(readFile(dir.path() / "report.csv"), header + "\n" + novak + "\n");
}

TEST(EndToEnd, FileSizeLimitIsAFailureOfThatOutputOnly) {
    const TempDir dir;
    std::string content = header;
    for (int i = 0; i < 100; ++i) {
        content += "\n" + novak;
    }
    writeFile(dir.path() / "klienti.csv", content);
    const Result r = runKlienti(dir, "n\n1\nu\n", "", "ulimit -f 4;");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.output.find("9. vek klienta\nVystupny subor sa nepodarilo vytvorit. Vystup do suboru nebol "
                            "vykonany.Klient c. 1\n"),
              std::string::npos);
    EXPECT_NE(r.diagnostics.find("sa nepodarilo zapisat: File too large\n"), std::string::npos);
    EXPECT_TRUE(outputsIn(dir).empty());
}

TEST(EndToEnd, ClosedConsoleStillWritesEveryOutputFile) {
    const TempDir dir;
    writeFile(dir.path() / "klienti.csv", header + "\n" + novak);
    writeFile(dir.path() / "stdin.txt", "a1\n0 100\n2\nn\n3\nu\n");
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ::close(ends[0]); // nobody will ever read the console
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(ends[1], STDOUT_FILENO);
        const int input = ::open((dir.path() / "stdin.txt").c_str(), O_RDONLY);
        ::dup2(input, STDIN_FILENO);
        const int diagnostics = ::open("/dev/null", O_WRONLY);
        ::dup2(diagnostics, STDERR_FILENO);
        if (::chdir(dir.path().c_str()) == 0) {
            ::execl(KLIENTI_EXE, KLIENTI_EXE, static_cast<char*>(nullptr));
        }
        ::_exit(127);
    }
    ::close(ends[1]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    std::filesystem::remove(dir.path() / "stdin.txt");
    const std::vector<std::string> outputs = outputsIn(dir);
    EXPECT_EQ(outputs.size(), 2u);
    for (const std::string& name : outputs) {
        EXPECT_EQ(readFile(dir.path() / name), header + "\n" + novak + "\n");
    }
}

namespace {

// klienti at a terminal of its own, as a shell runs it: a pseudo-terminal is
// its standard input, output and error and its controlling terminal, and it
// leads the terminal's foreground process group.
class Terminal {
public:
    Terminal(const TempDir& dir, const std::vector<std::string>& arguments, const std::vector<std::string>& variables) {
        std::vector<std::string> environment = variables;
        for (char** variable = environ; *variable != nullptr; ++variable) {
            const std::string_view text(*variable);
            if (!text.starts_with("PAGER=") && !text.starts_with("LESS=") && !text.starts_with("LV=")) {
                environment.emplace_back(text);
            }
        }
        std::vector<char*> argv{const_cast<char*>(KLIENTI_EXE)};
        for (const std::string& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        std::vector<char*> envp;
        for (std::string& variable : environment) {
            envp.push_back(variable.data());
        }
        envp.push_back(nullptr);
        const std::string directory = dir.path().string();
        winsize size{24, 80, 0, 0};
        pid_ = ::forkpty(&master_, nullptr, nullptr, &size);
        if (pid_ == 0) {
            if (::chdir(directory.c_str()) == 0) {
                ::execve(KLIENTI_EXE, argv.data(), envp.data());
            }
            ::_exit(127);
        }
    }
    ~Terminal() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            finish();
        }
    }

    void type(const std::string& keys) { EXPECT_EQ(::write(master_, keys.data(), keys.size()), static_cast<ssize_t>(keys.size())); }

    // Reads what the terminal shows until it holds text beyond what was
    // waited for before; a ceiling of twenty seconds keeps a hang from
    // hanging the suite.
    bool waitFor(const std::string& text) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (screen_.find(text, seen_) == std::string::npos) {
            if (std::chrono::steady_clock::now() > deadline || !readSome()) {
                return false;
            }
        }
        seen_ = screen_.find(text, seen_) + text.size();
        return true;
    }

    // Reads everything to the end and gives the exit status.
    int finish() {
        while (readSome()) {
        }
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        ::close(master_);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    const std::string& screen() const { return screen_; }

private:
    bool readSome() {
        pollfd ready{master_, POLLIN, 0};
        if (::poll(&ready, 1, 100) == 0) {
            return true;
        }
        char buffer[4096];
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n <= 0) {
            return false; // the program ended: the terminal is closed
        }
        screen_.append(buffer, static_cast<std::size_t>(n));
        return true;
    }

    pid_t pid_ = -1;
    int master_ = -1;
    std::string screen_;
    std::size_t seen_ = 0;
};

const std::string three = header + "\n" + novak + "\n" + kovacova + "\n141231/0001,Adam,Toth,Dlha 1,Zilina,student,450,12,1500,92,3";

// Where the first of the texts stands in the screen, each after the one before.
std::vector<std::size_t> inOrder(const std::string& screen, const std::vector<std::string>& texts) {
    std::vector<std::size_t> at;
    std::size_t from = 0;
    for (const std::string& text : texts) {
        from = screen.find(text, from);
        at.push_back(from);
        if (from == std::string::npos) {
            break;
        }
        from += text.size();
    }
    return at;
}

} // namespace

TEST(EndToEnd, AtATerminalThePictureComesBeforeTheBoundsAndTheFileNoteLast) {
    const TempDir dir;
    writeFile(dir.path() / "klienti.csv", three);
    Terminal terminal(dir, {"--no-pager"}, {"PAGER=touch pager-started"});
    const std::string menu_end = "U - ukoncit program\r\n";
    ASSERT_TRUE(terminal.waitFor(menu_end));
    terminal.type("a\n1\n");
    ASSERT_TRUE(terminal.waitFor("(napr. 10 20): "));
    terminal.type("30 100\n");
    ASSERT_TRUE(terminal.waitFor("9. vek klienta\r\n"));
    terminal.type("2\n");
    ASSERT_TRUE(terminal.waitFor(menu_end));
    terminal.type("n\n3\n");
    ASSERT_TRUE(terminal.waitFor(menu_end));
    terminal.type("u\n");
    EXPECT_EQ(terminal.finish(), 0);
    const std::string bar(58, '#'); // at 80 columns, one short of the last
    const std::string last_line = "______________________________\r\n";
    const std::vector<std::string> expected = {
        "od 35 do 92.\r\n",
        "klienti: 35 - 39 | " + bar + " 1\r\n"
        "klienti: 40 - 49 | 0\r\n"
        "klienti: 50 - 59 | 0\r\n"
        "klienti: 60 - 69 | 0\r\n"
        "klienti: 70 - 79 | 0\r\n"
        "klienti: 80 - 89 | " + bar + " 1\r\n"
        "klienti: 90 - 92 | " + bar + " 1\r\n"
        "Zadajte minimalnu",
        "Klient c. 3\r\n", last_line + "klienti: do suboru \"", "\" bolo zapisanych 3 zaznamov\r\n\r\nBolo nacitanych",
        "Klient c. 3\r\n", last_line + "klienti: do suboru \"", "\" bolo zapisanych 3 zaznamov\r\n\r\nBolo nacitanych",
    };
    const std::vector<std::size_t> at = inOrder(terminal.screen(), expected);
    EXPECT_EQ(at.size(), expected.size());
    EXPECT_EQ(std::find(at.begin(), at.end(), std::string::npos), at.end()) << terminal.screen();
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "pager-started")); // --no-pager
}

TEST(EndToEnd, AtATerminalAnAnswerIsALineAndThePagerGetsGitsEnvironment) {
    const TempDir dir;
    writeFile(dir.path() / "klienti.csv", three);
    writeFile(dir.path() / "pager", "#!/bin/sh\ncat > /dev/null\necho \"[$LESS][$LV]\" >> seen\n");
    std::filesystem::permissions(dir.path() / "pager", std::filesystem::perms::owner_all);
    Terminal terminal(dir, {}, {"PAGER=./pager"});
    ASSERT_TRUE(terminal.waitFor("U - ukoncit program\r\n"));
    // Through a pipe "ano" would open the filter menu and answer it with
    // "n" and "o"; "40 80 90" would answer the ordering with the "9".
    terminal.type("ano\n1\n40 80 90  \nxy\n2\nu\n");
    EXPECT_EQ(terminal.finish(), 0);
    const std::vector<std::string> expected = {
        "klienti: zvysok riadku \"no\" bol ignorovany\r\n", "od 35 do 92.\r\n",
        "klienti: zvysok riadku \"90\" bol ignorovany\r\n", "vyhovuje 1 zaznamov",
        "9. vek klienta\r\n", "Neplatny vstup! Prosim zadajte cislo v intervale 1 az 9.\r\n",
        "\" bolo zapisanych 1 zaznamov\r\n\r\nBolo nacitanych",
    };
    const std::vector<std::size_t> at = inOrder(terminal.screen(), expected);
    EXPECT_EQ(std::find(at.begin(), at.end(), std::string::npos), at.end()) << terminal.screen();
    // One message for the line "xy"; the pager saw LESS and LV as git sets them.
    EXPECT_EQ(terminal.screen().find("Neplatny", terminal.screen().find("Neplatny") + 1), std::string::npos);
    EXPECT_EQ(readFile(dir.path() / "seen"), "[FRX][-c]\n");
}

TEST(EndToEnd, AtATerminalAMissingFileMessageEndsItsLine) {
    const TempDir dir;
    Terminal terminal(dir, {}, {});
    EXPECT_EQ(terminal.finish(), 0);
    EXPECT_EQ(terminal.screen(), "Subor sa nepodarilo otvorit\r\n"
                                 "klienti: subor \"klienti.csv\" sa nepodarilo otvorit: No such file or directory\r\n");
}

TEST(EndToEnd, CtrlCWhileThePagerRunsLeavesTheDialogueAtItsNextPrompt) {
    const TempDir dir;
    writeFile(dir.path() / "klienti.csv", three);
    Terminal terminal(dir, {}, {"PAGER=touch pager-started; exec sleep 60"});
    ASSERT_TRUE(terminal.waitFor("U - ukoncit program\r\n"));
    terminal.type("n\n2\n");
    for (int tries = 0; tries < 200 && !std::filesystem::exists(dir.path() / "pager-started"); ++tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_TRUE(std::filesystem::exists(dir.path() / "pager-started"));
    terminal.type("\x03"); // Ctrl-C, to the whole foreground process group
    ASSERT_TRUE(terminal.waitFor("\" bolo zapisanych 3 zaznamov\r\n\r\nBolo nacitanych 3 zaznamov"));
    ASSERT_TRUE(terminal.waitFor("U - ukoncit program\r\n"));
    terminal.type("u\n");
    EXPECT_EQ(terminal.finish(), 0);
    // The file was written whole, the listing went to the pager alone.
    EXPECT_EQ(terminal.screen().find("Klient c. 1"), std::string::npos);
    std::size_t outputs = 0;
    for (const std::string& name : outputsIn(dir)) {
        if (name.ends_with(".csv")) {
            EXPECT_EQ(readFile(dir.path() / name), header + "\n" + kovacova + "\n" + novak +
                                                       "\n141231/0001,Adam,Toth,Dlha 1,Zilina,student,450,12,1500,92,3\n");
            ++outputs;
        }
    }
    EXPECT_EQ(outputs, 1u);
}

TEST(EndToEnd, NoPagerWhereTheOutputIsNoTerminal) {
    const TempDir dir;
    writeFile(dir.path() / "klienti.csv", header + "\n" + novak);
    const Result r = runKlienti(dir, "n1u", "", "PAGER='touch pager-started' LESS=");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.output.find("Klient c. 1\n"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "pager-started"));
}

TEST(EndToEnd, HelpAndVersionThatCannotBeWrittenAreAFailure) {
    const TempDir dir;
    for (const std::string option : {"--help", "--version"}) {
        const std::string command =
            "'" KLIENTI_EXE "' " + option + " > /dev/full 2> '" + (dir.path() / "stderr.txt").string() + "'";
        const int status = std::system(command.c_str());
        EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 1) << option;
        EXPECT_EQ(readFile(dir.path() / "stderr.txt"),
                  "klienti: na standardny vystup sa nepodarilo zapisat: No space left on device\n")
            << option;
    }
}

// A job whose CSV goes to standard output fails where standard output was
// closed: the CSV would go nowhere.
TEST(EndToEnd, AJobsCsvOnAClosedStandardOutputFails) {
    const TempDir dir;
    writeFile(dir.path() / "klienti.csv", three);
    const std::string command = "cd '" + dir.path().string() + "' && '" KLIENTI_EXE
                                "' --order meno --output - >&- 2> stderr.txt";
    const int status = std::system(command.c_str());
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 1);
    EXPECT_EQ(readFile(dir.path() / "stderr.txt"), "klienti: vystup sa nepodarilo zapisat: Bad file descriptor\n");
    EXPECT_EQ(outputsIn(dir), std::vector<std::string>{"stderr.txt"});
}

// A closed standard output is taken by /dev/null, so that no file opened
// later (the output file, say) gets the listing under its number.
TEST(EndToEnd, AClosedStandardOutputIsDevNull) {
    const TempDir dir;
    writeFile(dir.path() / "klienti.csv", three);
    int input[2];
    int diagnostics[2];
    ASSERT_EQ(::pipe2(input, O_CLOEXEC), 0);
    ASSERT_EQ(::pipe2(diagnostics, O_CLOEXEC), 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(input[0], STDIN_FILENO);
        ::dup2(diagnostics[1], STDERR_FILENO);
        ::close(STDOUT_FILENO);
        if (::chdir(dir.path().c_str()) == 0) {
            ::execl(KLIENTI_EXE, KLIENTI_EXE, static_cast<char*>(nullptr));
        }
        ::_exit(127);
    }
    ::close(input[0]);
    ::close(diagnostics[1]);
    EXPECT_EQ(::write(input[1], "a\n1\n0 100\n2\n", 12), 12);
    // The cycle's note comes once its output file has its name.
    std::string note;
    for (char c = 0; c != '\n' && ::read(diagnostics[0], &c, 1) == 1;) {
        note += c;
    }
    char target[64] = {};
    EXPECT_GT(::readlink(("/proc/" + std::to_string(pid) + "/fd/1").c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(::write(input[1], "u\n", 2), 2);
    ::close(input[1]);
    ::close(diagnostics[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0);
    EXPECT_EQ(std::string(target), "/dev/null");
    const std::vector<std::string> outputs = outputsIn(dir);
    ASSERT_EQ(outputs.size(), 1u) << note;
    EXPECT_EQ(readFile(dir.path() / outputs[0]),
              header + "\n" + kovacova + "\n" + novak + "\n141231/0001,Adam,Toth,Dlha 1,Zilina,student,450,12,1500,92,3\n");
}
