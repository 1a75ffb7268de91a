#include "io/OutputFile.hpp"

#include "model/Decimal.hpp"

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

// Creates the first free name of the series exclusively: the file must not
// exist before, so nothing is ever replaced, and two programs running at once
// never share one file.
Subor createNewFile(const std::tm& cas, const std::filesystem::path& adresar, std::filesystem::path& cesta) {
    for (int poradie = 1; poradie <= max_poradie; ++poradie) {
        cesta = adresar / outputFileName(cas, poradie);
        errno = 0;
        Subor subor(std::fopen(cesta.c_str(), "wx"));
        if (subor) {
            return subor;
        }
        if (errno != EEXIST) {
            return nullptr;
        }
    }
    return nullptr;
}

bool writeAll(std::FILE* subor, const std::string& text) {
    return std::fwrite(text.data(), 1, text.size(), subor) == text.size();
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

void appendRecordLine(std::string& out, const Klient& klient) {
    out += klient.rc.getCisloView();
    out += ',';
    out += klient.getMenoView();
    out += ',';
    out += klient.getPriezviskoView();
    out += ',';
    out += klient.getUlicaView();
    out += ',';
    out += klient.getMestoView();
    out += ',';
    out += klient.getPovolanieView();
    out += ',';
    appendDecimal(out, klient.getPlat());
    out += ',';
    appendDecimal(out, klient.getPocetUverov());
    out += ',';
    appendDecimal(out, klient.getSumaUverov());
    out += ',';
    appendDecimal(out, klient.getBonita());
    out += ',';
    appendDecimal(out, klient.getSplacalNacas());
    out += '\n';
}

std::optional<std::filesystem::path> writeOutputFile(Klient* const* tabulka, int32_t pocet,
                                                     const std::tm& cas, std::ostream& hlasenia,
                                                     const std::filesystem::path& adresar) {
    std::filesystem::path cesta;
    Subor subor = createNewFile(cas, adresar, cesta);
    bool v_poriadku = subor != nullptr;
    if (v_poriadku) {
        std::string text(hlavicka_suboru);
        text.reserve(davka + 256);
        for (int32_t i = 0; i < pocet && v_poriadku; ++i) {
            appendRecordLine(text, *tabulka[i]);
            if (text.size() >= davka) {
                v_poriadku = writeAll(subor.get(), text);
                text.clear();
            }
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
