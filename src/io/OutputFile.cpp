#include "io/OutputFile.hpp"

#include "model/Decimal.hpp"
#include "io/TextBuffer.hpp"
#include "model/Prefetch.hpp"

#include <cerrno>
#include <cstdio>
#include <memory>

namespace {

constexpr const char* dni_tyzdna[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* mesiace[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
// How many names of one minute are tried before giving up.
constexpr int max_poradie = 9999;
constexpr std::size_t davka = std::size_t{1} << 20;

void appendTwoDigits(std::string& out, int hodnota) {
    if (hodnota >= 0 && hodnota < 10) {
        out.push_back('0');
    }
    appendDecimal(out, hodnota);
}

const char* nameIn(const char* const* nazvy, int pocet, int index) {
    return index >= 0 && index < pocet ? nazvy[index] : "???";
}

struct ZatvorSubor {
    void operator()(std::FILE* subor) const noexcept { std::fclose(subor); }
};
using Subor = std::unique_ptr<std::FILE, ZatvorSubor>;

// The last name this program created: the next output of the same minute
// starts its search behind it, so that a script producing thousands of
// outputs a minute does not try every taken name again each time.
struct PoslednyNazov {
    std::filesystem::path zaklad;
    int poradie = 0;
};

// Creates the first free name of the series exclusively: the file must not
// exist before, so nothing is ever replaced, and two programs running at once
// never share one file.
Subor createNewFile(const std::tm& cas, const std::filesystem::path& adresar, std::filesystem::path& cesta) {
    static PoslednyNazov posledny;
    const std::filesystem::path zaklad = adresar / outputFileName(cas);
    const int od = zaklad == posledny.zaklad ? posledny.poradie + 1 : 1;
    for (int poradie = od; poradie <= max_poradie; ++poradie) {
        cesta = adresar / outputFileName(cas, poradie);
        errno = 0;
        Subor subor(std::fopen(cesta.c_str(), "wx"));
        if (subor) {
            posledny = {zaklad, poradie};
            return subor;
        }
        if (errno != EEXIST) {
            return nullptr;
        }
    }
    return nullptr;
}

// The most one record line can take: six text fields copied whole, five
// numbers, ten commas and the line end.
constexpr std::size_t max_dlzka_riadku =
    RodneCislo::kapacita + 4 * sizeof(Klient::Pole20) + sizeof(Klient::Pole30) + 5 * max_dlzka_cisla + 11;

void appendRecordLine(TextBuffer& out, const Klient& klient) {
    out.pole(klient.rc.cisloPole());
    out.znak(',');
    out.pole(klient.menoPole());
    out.znak(',');
    out.pole(klient.priezviskoPole());
    out.znak(',');
    out.pole(klient.ulicaPole());
    out.znak(',');
    out.pole(klient.mestoPole());
    out.znak(',');
    out.pole(klient.povolaniePole());
    out.znak(',');
    out.cislo(klient.getPlat());
    out.znak(',');
    out.cislo(klient.getPocetUverov());
    out.znak(',');
    out.cislo(klient.getSumaUverov());
    out.znak(',');
    out.cislo(klient.getBonita());
    out.znak(',');
    out.cislo(klient.getSplacalNacas());
    out.znak('\n');
}

bool writeAll(std::FILE* subor, TextBuffer& text) {
    const std::string_view obsah = text.obsah();
    text.vyprazdni();
    return std::fwrite(obsah.data(), 1, obsah.size(), subor) == obsah.size();
}

} // namespace

std::string outputFileName(const std::tm& cas, int poradie) {
    std::string nazov;
    nazov += nameIn(dni_tyzdna, 7, cas.tm_wday);
    nazov += ' ';
    appendTwoDigits(nazov, cas.tm_mday);
    nazov += ". ";
    nazov += nameIn(mesiace, 12, cas.tm_mon);
    nazov += ". ";
    appendDecimal(nazov, cas.tm_year + 1900);
    nazov += ", ";
    appendTwoDigits(nazov, cas.tm_hour);
    nazov += '.';
    appendTwoDigits(nazov, cas.tm_min);
    if (poradie > 1) {
        nazov += " (";
        appendDecimal(nazov, poradie);
        nazov += ')';
    }
    nazov += ".csv";
    return nazov;
}

std::string recordLine(const Klient& klient) {
    TextBuffer text(max_dlzka_riadku);
    appendRecordLine(text, klient);
    return std::string(text.obsah());
}

std::optional<std::filesystem::path> writeOutputFile(Klient* const* tabulka, int32_t pocet,
                                                     const std::tm& cas, std::ostream& hlasenia,
                                                     const std::filesystem::path& adresar) {
    std::filesystem::path cesta;
    Subor subor = createNewFile(cas, adresar, cesta);
    bool v_poriadku = subor != nullptr;
    if (v_poriadku) {
        TextBuffer text(davka);
        text.text(hlavicka_suboru);
        for (int32_t i = 0; i < pocet && v_poriadku; ++i) {
            prefetchAhead(tabulka, i, pocet);
            if (!text.hasRoom(max_dlzka_riadku)) {
                v_poriadku = writeAll(subor.get(), text);
            }
            appendRecordLine(text, *tabulka[i]);
        }
        v_poriadku = v_poriadku && writeAll(subor.get(), text);
        // Closing flushes the last buffered bytes; its failure is a failed write too.
        v_poriadku = std::fclose(subor.release()) == 0 && v_poriadku;
        if (!v_poriadku) {
            // A partly written file would pass for a complete result.
            std::error_code ignorovana;
            std::filesystem::remove(cesta, ignorovana);
        }
    }
    if (!v_poriadku) {
        hlasenia << "Vystupny subor sa nepodarilo vytvorit. Vystup do suboru nebol vykonany.";
        return std::nullopt;
    }
    return cesta;
}
