#include "io/ClientReader.hpp"

#include "io/RecordLine.hpp"

#include <cstring>
#include <memory>
#include <type_traits>
#include <string>
#include <string_view>

static_assert(std::is_trivially_default_constructible_v<Klient>,
              "a new block must cost no pass over its memory");

Klient& NacitaniKlienti::pridajKlienta() {
    if (v_poslednom_bloku_ == velkost_bloku) {
        bloky_.push_back(std::make_unique_for_overwrite<Klient[]>(velkost_bloku));
        v_poslednom_bloku_ = 0;
    }
    ++pocet_;
    return bloky_.back()[v_poslednom_bloku_++];
}

void NacitaniKlienti::dokonciTabulku() {
    tabulka_.clear();
    tabulka_.reserve(pocet_);
    for (std::size_t i = 0; i < pocet_; ++i) {
        tabulka_.push_back(&bloky_[i / velkost_bloku][i % velkost_bloku]);
    }
}

namespace {

// Longer than any acceptable record line (eleven fields at their limits, ten
// commas and a carriage return): a line that grows past this is malformed, so
// its further characters need not be kept.
constexpr std::size_t max_uchovany_riadok = 256;
constexpr std::size_t velkost_citania = std::size_t{1} << 20;

// Turns lines into records, one line at a time, counting line numbers.
class SpracovanieRiadkov {
public:
    SpracovanieRiadkov(NacitaniKlienti& klienti, std::ostream& hlasenia, int32_t max_zaznamov)
        : klienti_(klienti), hlasenia_(hlasenia), max_zaznamov_(max_zaznamov) {}

    // A line without its line feed; ukonceny tells whether a line feed ended it.
    void riadok(std::string_view text, bool ukonceny, bool pridlhy) {
        const uint64_t cislo = cislo_riadku_++;
        if (cislo == 1 || plny_) {
            return; // the header, or the table cannot take more records
        }
        if (ukonceny && !text.empty() && text.back() == '\r') {
            text.remove_suffix(1);
        }
        const auto polia = pridlhy ? std::nullopt : splitRecordLine(text);
        if (!polia) {
            hlasenia_ << "Riadok " << cislo
                      << " v subore klienti.csv ma nespravny format, zaznam bol preskoceny.\n";
            return;
        }
        if (nacitanych_ == max_zaznamov_) {
            plny_ = true;
            hlasenia_ << "Subor klienti.csv ma viac ako " << max_zaznamov_
                      << " zaznamov, dalsie zaznamy neboli nacitane.\n";
            return;
        }
        fillKlient(*polia, klienti_.pridajKlienta());
        ++nacitanych_;
    }

private:
    NacitaniKlienti& klienti_;
    std::ostream& hlasenia_;
    const int32_t max_zaznamov_;
    uint64_t cislo_riadku_ = 1;
    int32_t nacitanych_ = 0;
    bool plny_ = false;
};

} // namespace

NacitaniKlienti loadClients(std::istream& in, std::ostream& hlasenia, int32_t max_zaznamov) {
    NacitaniKlienti klienti;
    SpracovanieRiadkov spracovanie(klienti, hlasenia, max_zaznamov);
    const auto blok = std::make_unique_for_overwrite<char[]>(velkost_citania);
    // The start of a line that the last block cut off, kept up to the limit.
    std::string zaciatok;
    bool pridlhy = false;
    bool rozpracovany = false;

    const auto pripoj = [&](const char* od, std::size_t n) {
        rozpracovany = true;
        if (pridlhy) {
            return;
        }
        if (zaciatok.size() + n > max_uchovany_riadok) {
            pridlhy = true;
            zaciatok.clear();
            return;
        }
        zaciatok.append(od, n);
    };

    while (in) {
        in.read(blok.get(), static_cast<std::streamsize>(velkost_citania));
        const auto precitane = static_cast<std::size_t>(in.gcount());
        if (precitane == 0) {
            break;
        }
        const char* p = blok.get();
        const char* const koniec = p + precitane;
        while (p < koniec) {
            const auto* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(koniec - p)));
            if (lf == nullptr) {
                pripoj(p, static_cast<std::size_t>(koniec - p));
                break;
            }
            if (rozpracovany) {
                pripoj(p, static_cast<std::size_t>(lf - p));
                spracovanie.riadok(zaciatok, true, pridlhy);
                zaciatok.clear();
                pridlhy = false;
                rozpracovany = false;
            } else {
                spracovanie.riadok(std::string_view(p, static_cast<std::size_t>(lf - p)), true, false);
            }
            p = lf + 1;
        }
    }
    // The last line, when no line feed ends it; an empty one is no record.
    if (rozpracovany) {
        spracovanie.riadok(zaciatok, false, pridlhy);
    }
    klienti.dokonciTabulku();
    return klienti;
}
