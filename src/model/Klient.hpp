#pragma once

#include "model/RodneCislo.hpp"

#include <cstdint>
#include <string>
#include <string_view>

// One client of the bank: one record line of klienti.csv. Filled once by the
// reader and never changed afterwards. A record made with `Klient k;` holds
// nothing defined until its setters have run (the reader runs all of them at
// once, so that a million records cost one pass over their memory, not two);
// `Klient k{}` starts all zero. Text getters return an owning copy;
// the *View getters let the ordering and the writers read a field without
// allocating anything per record.
class Klient {
public:
    // Longest accepted content of each text field (its array holds one more
    // character, the terminator).
    static constexpr std::size_t max_meno = 19;
    static constexpr std::size_t max_priezvisko = 19;
    static constexpr std::size_t max_mesto = 19;
    static constexpr std::size_t max_ulica = 29;
    static constexpr std::size_t max_povolanie = 19;

    void setMeno(std::string_view text) noexcept;
    void setPriezvisko(std::string_view text) noexcept;
    void setMesto(std::string_view text) noexcept;
    void setUlica(std::string_view text) noexcept;
    void setPovolanie(std::string_view text) noexcept;
    void setPlat(int32_t hodnota) noexcept { plat = hodnota; }
    void setPocetUverov(int32_t hodnota) noexcept { pocet_uverov = hodnota; }
    void setSumaUverov(int32_t hodnota) noexcept { suma_uverov = hodnota; }
    void setBonita(int32_t hodnota) noexcept { bonita = hodnota; }
    void setSplacalNacas(int32_t hodnota) noexcept { splacal_nacas = hodnota; }

    std::string getMeno() const { return std::string(getMenoView()); }
    std::string getPriezvisko() const { return std::string(getPriezviskoView()); }
    std::string getMesto() const { return std::string(getMestoView()); }
    std::string getUlica() const { return std::string(getUlicaView()); }
    std::string getPovolanie() const { return std::string(getPovolanieView()); }

    std::string_view getMenoView() const noexcept;
    std::string_view getPriezviskoView() const noexcept;
    std::string_view getMestoView() const noexcept;
    std::string_view getUlicaView() const noexcept;
    std::string_view getPovolanieView() const noexcept;

    int32_t getPlat() const noexcept { return plat; }
    int32_t getPocetUverov() const noexcept { return pocet_uverov; }
    int32_t getSumaUverov() const noexcept { return suma_uverov; }
    int32_t getBonita() const noexcept { return bonita; }
    int32_t getSplacalNacas() const noexcept { return splacal_nacas; }

    // The raw field arrays, zero behind the terminator: the ordering reads
    // their first bytes as a key, and the writers copy them whole.
    using Pole20 = char[20];
    using Pole30 = char[30];
    const Pole20& menoPole() const noexcept { return meno; }
    const Pole20& priezviskoPole() const noexcept { return priezvisko; }
    const Pole20& mestoPole() const noexcept { return mesto; }
    const Pole30& ulicaPole() const noexcept { return ulica; }
    const Pole20& povolaniePole() const noexcept { return povolanie; }

    RodneCislo rc;

private:
    char meno[max_meno + 1];
    char priezvisko[max_priezvisko + 1];
    char mesto[max_mesto + 1];
    char ulica[max_ulica + 1];
    char povolanie[max_povolanie + 1];
    int32_t plat;
    int32_t pocet_uverov;
    int32_t suma_uverov;
    int32_t bonita;
    int32_t splacal_nacas;
};
