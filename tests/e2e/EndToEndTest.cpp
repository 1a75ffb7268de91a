// Runs the built klienti in a directory of its own, with standard input from
// a file, and compares its whole standard output, standard error and exit
// status; the dialogue's details are the in-process tests' work.

#include "TestSupport.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

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
              "Riadok 3 v subore klienti.csv ma nespravny format, zaznam bol preskoceny.\n" + menu(2) +
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
        {"--help", 0, "Pouzitie: klienti [SUBOR]\n", ""},
        {"-h", 0, "Pouzitie: klienti [SUBOR]\n", ""},
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
