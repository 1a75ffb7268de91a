// Runs the built klienti in a directory of its own, with standard input from
// a file, and compares its whole standard output and exit status.

#include "TestSupport.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Vysledok {
    std::string vystup;
    int status;
    std::string diagnostika;
};

// Runs klienti with the arguments (quoted for the shell); shell runs before
// it, in the same shell (a limit, say).
Vysledok spustiKlienti(const TempDir& dir, const std::string& vstup, const std::string& shell = "",
                       const std::string& argumenty = "") {
    writeFile(dir.path() / "stdin.txt", vstup);
    const std::string prikaz = "cd '" + dir.path().string() + "' && " + shell + " '" KLIENTI_EXE "' " + argumenty +
                               " < stdin.txt > stdout.txt 2> stderr.txt";
    const int stav = std::system(prikaz.c_str());
    const Vysledok v{readFile(dir.path() / "stdout.txt"), WIFEXITED(stav) ? WEXITSTATUS(stav) : -1,
                     readFile(dir.path() / "stderr.txt")};
    for (const char* pomocny : {"stdin.txt", "stdout.txt", "stderr.txt"}) {
        std::filesystem::remove(dir.path() / pomocny);
    }
    return v;
}

std::string menu(int pocet) {
    return "\nBolo nacitanych " + std::to_string(pocet) +
           " zaznamov o klientoch banky.\n\nZelate si tieto zaznamy filtrovat?\n"
           "Vyberte si jednu z moznosti a zadajte prislusny znak.\nA - ano\nN - nie\nU - ukoncit program\n";
}

// Output file names of the minutes around a run, as the system clock gives them.
std::vector<std::string> menaMinut(std::time_t od, std::time_t po) {
    std::vector<std::string> mena;
    for (std::time_t t = od - 60; t <= po + 60; t += 30) {
        char nazov[80];
        std::strftime(nazov, sizeof nazov, "%a %d. %b. %Y, %H.%M.csv", std::localtime(&t));
        mena.emplace_back(nazov);
    }
    return mena;
}

} // namespace

TEST(EndToEnd, MissingInputFile) {
    const TempDir dir;
    const Vysledok v = spustiKlienti(dir, "a\n");
    EXPECT_EQ(v.vystup, "Subor sa nepodarilo otvorit");
    EXPECT_EQ(v.status, 0);
}

TEST(EndToEnd, ShortSessionInBothBranches) {
    const TempDir dir;
    writeFile(dir.path() / "klienti.csv",
              hlavicka + "\r\n850312/0417,Jan,Novak,Hlavna 12,Nitra,ucitel,950,2,800,80,1\r\n"
                         "zly riadok\r\n"
                         "905520/1234,Eva,Kovacova,Lesna 3,Kosice,lekarka,2100,0,0,35,2\r\n");
    const std::time_t pred = std::time(nullptr);
    const Vysledok v = spustiKlienti(dir, "x\nn\n8\na1\n0 50\n1\nu\n");
    const std::time_t po = std::time(nullptr);
    const std::string eva =
        "Meno: Eva\nPriezvisko: Kovacova\nAdresa: Lesna 3, Kosice\nPovolanie: lekarka\nMesacna mzda: 2100 eur\n"
        "Pocet uverov: 0\nSuma uverov: 0 eur\nBonita: 35 bodov (max. 100)\nPlatobna disciplina: priemerna\n"
        "______________________________\n";
    const std::string jan =
        "Meno: Jan\nPriezvisko: Novak\nAdresa: Hlavna 12, Nitra\nPovolanie: ucitel\nMesacna mzda: 950 eur\n"
        "Pocet uverov: 2\nSuma uverov: 800 eur\nBonita: 80 bodov (max. 100)\nPlatobna disciplina: vyborna\n"
        "______________________________\n";
    EXPECT_EQ(v.vystup,
              "Riadok 3 v subore klienti.csv ma nespravny format, zaznam bol preskoceny.\n" + menu(2) +
                  "\nNeplatny vstup! Prosim zadajte A, N alebo U.\n"
                  "\nZadajte kriterium pre usporiadanie zaznamov:\n1. meno\n2. priezvisko\n3. mesto\n4. povolanie\n"
                  "5. mesacny plat\n6. pocet uverov\n7. suma uverov\n8. bonita\n9. vek klienta\n"
                  "Klient c. 1\n" + eva + "Klient c. 2\n" + jan + menu(2) +
                  "\nPodla akeho kriteria chcete zaznamy filtrovat?\nPre vyber zadajte cislo zelanej moznosti.\n"
                  "1. bonita\n2. pocet uverov\n3. suma uverov\n4. mesacna mzda\n5. vek klienta\n "
                  "\nPre kriterium \"bonita\" sa v subore nachadzaju hodnoty v intervale od 35 do 80.\n"
                  "Zadajte minimalnu a maximalnu hodnotu ako dve cele cisla oddelene medzerou (napr. 10 20): "
                  "\nZadanemu kriteriu vyhovuje 1 zaznamov.\n"
                  "\nZadajte kriterium pre usporiadanie zaznamov:\nPre vyber zadajte cislo zelanej moznosti.\n"
                  "1. meno\n2. priezvisko\n3. mesto\n4. povolanie\n5. mesacny plat\n6. pocet uverov\n"
                  "7. suma uverov\n8. bonita\n9. vek klienta\n"
                  "Klient c. 1\n" + eva + menu(2));
    EXPECT_EQ(v.status, 0);

    // Two files, named after the minute of the run; the second never replaces the first.
    std::vector<std::string> subory;
    for (const std::string& meno : listDir(dir.path())) {
        if (meno != "klienti.csv") {
            subory.push_back(meno);
        }
    }
    ASSERT_EQ(subory.size(), 2u);
    const std::vector<std::string> mozne = menaMinut(pred, po);
    std::string prvy;
    std::string druhy;
    for (const std::string& meno : subory) {
        const bool cislovany = meno.size() == 32 && meno.substr(24, 8) == " (2).csv";
        const std::string zaklad = cislovany ? meno.substr(0, 24) + ".csv" : meno;
        EXPECT_NE(std::find(mozne.begin(), mozne.end(), zaklad), mozne.end()) << meno;
        (cislovany ? druhy : prvy) = meno;
    }
    // Both outputs may fall into one minute or into two; by content they are known.
    const std::string vsetci = hlavicka + "\n905520/1234,Eva,Kovacova,Lesna 3,Kosice,lekarka,2100,0,0,35,2\n"
                                          "850312/0417,Jan,Novak,Hlavna 12,Nitra,ucitel,950,2,800,80,1\n";
    const std::string filtrovani = hlavicka + "\n905520/1234,Eva,Kovacova,Lesna 3,Kosice,lekarka,2100,0,0,35,2\n";
    std::vector<std::string> obsahy = {readFile(dir.path() / subory[0]), readFile(dir.path() / subory[1])};
    std::sort(obsahy.begin(), obsahy.end());
    std::vector<std::string> ocakavane = {vsetci, filtrovani};
    std::sort(ocakavane.begin(), ocakavane.end());
    EXPECT_EQ(obsahy, ocakavane);
}

TEST(EndToEnd, BundledSampleRunsThroughBothBranches) {
    const TempDir dir;
    std::filesystem::copy_file(SAMPLE_CSV, dir.path() / "klienti.csv");
    const Vysledok v = spustiKlienti(dir, "a5 0 200 9 n 2 u");
    EXPECT_EQ(v.status, 0);
    EXPECT_EQ(v.vystup.rfind(menu(40)), v.vystup.size() - menu(40).size());
    EXPECT_NE(v.vystup.find("Klient c. 40\n"), std::string::npos);
    EXPECT_EQ(v.vystup.find("Riadok"), std::string::npos);
}

TEST(EndToEnd, FileSizeLimitIsAFailureOfThatOutputOnly) {
    const TempDir dir;
    std::string subor = hlavicka;
    for (int i = 0; i < 100; ++i) {
        subor += "\n850312/0417,Jan,Novak,Hlavna 12,Nitra,ucitel,950,2,800,80,1";
    }
    writeFile(dir.path() / "klienti.csv", subor);
    const Vysledok v = spustiKlienti(dir, "n\n1\nu\n", "ulimit -f 4;");
    EXPECT_EQ(v.status, 0);
    EXPECT_NE(v.vystup.find("9. vek klienta\nVystupny subor sa nepodarilo vytvorit. Vystup do suboru nebol "
                            "vykonany.Klient c. 1\n"),
              std::string::npos);
    EXPECT_EQ(listDir(dir.path()), std::vector<std::string>{"klienti.csv"});
}

TEST(EndToEnd, ClosedConsoleStillWritesEveryOutputFile) {
    const TempDir dir;
    writeFile(dir.path() / "klienti.csv", hlavicka + "\n850312/0417,Jan,Novak,Hlavna 12,Nitra,ucitel,950,2,800,80,1");
    writeFile(dir.path() / "stdin.txt", "a1\n0 100\n2\nn\n3\nu\n");
    int konce[2];
    ASSERT_EQ(::pipe(konce), 0);
    ::close(konce[0]); // nobody will ever read the console
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(konce[1], STDOUT_FILENO);
        const int vstup = ::open((dir.path() / "stdin.txt").c_str(), O_RDONLY);
        ::dup2(vstup, STDIN_FILENO);
        if (::chdir(dir.path().c_str()) == 0) {
            ::execl(KLIENTI_EXE, KLIENTI_EXE, static_cast<char*>(nullptr));
        }
        ::_exit(127);
    }
    ::close(konce[1]);
    int stav = 0;
    ::waitpid(pid, &stav, 0);
    ASSERT_TRUE(WIFEXITED(stav));
    EXPECT_EQ(WEXITSTATUS(stav), 0);
    std::size_t vystupov = 0;
    for (const std::string& meno : listDir(dir.path())) {
        if (meno != "klienti.csv" && meno != "stdin.txt") {
            ++vystupov;
            EXPECT_EQ(readFile(dir.path() / meno),
                      hlavicka + "\n850312/0417,Jan,Novak,Hlavna 12,Nitra,ucitel,950,2,800,80,1\n");
        }
    }
    EXPECT_EQ(vystupov, 2u);
}

TEST(EndToEnd, CommandLineOfAUnixTool) {
    const TempDir dir;
    const std::string radu = "klienti: viac v \"klienti --help\"\n";
    const struct {
        std::string argumenty;
        int status;
        std::string vystup_zacina;
        std::string diagnostika;
    } pripady[] = {
        {"--help", 0, "Pouzitie: klienti [SUBOR]\n", ""},
        {"-h", 0, "Pouzitie: klienti [SUBOR]\n", ""},
        {"--version", 0, "klienti " KLIENTI_VERSION "\n", ""},
        {"--verbose", 2, "", "klienti: neznama volba \"--verbose\"\n" + radu},
        {"-", 2, "", "klienti: neznama volba \"-\": standardny vstup patri dialogu\n" + radu},
        {"a.csv b.csv", 2, "", "klienti: nadbytocny argument \"b.csv\": program cita jediny subor\n" + radu},
        {"chyba.csv", 0, "Subor sa nepodarilo otvorit",
         "klienti: subor \"chyba.csv\" sa nepodarilo otvorit: No such file or directory\n"},
        {"/proc/self/mem", 0, "Subor sa nepodarilo otvorit",
         "klienti: subor \"/proc/self/mem\" sa nepodarilo precitat: Input/output error\n"},
    };
    for (const auto& p : pripady) {
        const Vysledok v = spustiKlienti(dir, "u", "", p.argumenty);
        EXPECT_EQ(v.status, p.status) << p.argumenty;
        EXPECT_EQ(v.vystup.substr(0, p.vystup_zacina.size()), p.vystup_zacina) << p.argumenty;
        EXPECT_EQ(v.diagnostika, p.diagnostika) << p.argumenty;
        EXPECT_TRUE(listDir(dir.path()).empty()) << p.argumenty;
    }
}
