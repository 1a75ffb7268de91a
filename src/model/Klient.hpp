#pragma once

#include "model/FixedText.hpp"
#include "model/RodneCislo.hpp"

#include <cstdint>
#include <string>
#include <string_view>

// One client of the bank: one record line of the client file. Filled once by
// the reader and never changed afterwards; a new record is empty (every text
// empty, every number 0). Text getters return an owning copy.
class Klient {
public:
    // Longest accepted content of each text field (its array holds one more
    // character, the terminator).
    static constexpr std::size_t max_meno = 19;
    static constexpr std::size_t max_priezvisko = 19;
    static constexpr std::size_t max_mesto = 19;
    static constexpr std::size_t max_ulica = 29;
    static constexpr std::size_t max_povolanie = 19;

    void setMeno(std::string_view text) noexcept { storeFixedText(meno, text); }
    void setPriezvisko(std::string_view text) noexcept { storeFixedText(priezvisko, text); }
    void setMesto(std::string_view text) noexcept { storeFixedText(mesto, text); }
    void setUlica(std::string_view text) noexcept { storeFixedText(ulica, text); }
    void setPovolanie(std::string_view text) noexcept { storeFixedText(povolanie, text); }
    void setPlat(int32_t value) noexcept { plat = value; }
    void setPocetUverov(int32_t value) noexcept { pocet_uverov = value; }
    void setSumaUverov(int32_t value) noexcept { suma_uverov = value; }
    void setBonita(int32_t value) noexcept { bonita = value; }
    void setSplacalNacas(int32_t value) noexcept { splacal_nacas = value; }

    std::string getMeno() const { return std::string(viewFixedText(meno)); }
    std::string getPriezvisko() const { return std::string(viewFixedText(priezvisko)); }
    std::string getMesto() const { return std::string(viewFixedText(mesto)); }
    std::string getUlica() const { return std::string(viewFixedText(ulica)); }
    std::string getPovolanie() const { return std::string(viewFixedText(povolanie)); }

    int32_t getPlat() const noexcept { return plat; }
    int32_t getPocetUverov() const noexcept { return pocet_uverov; }
    int32_t getSumaUverov() const noexcept { return suma_uverov; }
    int32_t getBonita() const noexcept { return bonita; }
    int32_t getSplacalNacas() const noexcept { return splacal_nacas; }

    // The text fields themselves, zero behind the terminator: the ordering
    // reads their first bytes as a key, and the writers copy them whole.
    using Field20 = char[20];
    using Field30 = char[30];
    const Field20& menoField() const noexcept { return meno; }
    const Field20& priezviskoField() const noexcept { return priezvisko; }
    const Field20& mestoField() const noexcept { return mesto; }
    const Field30& ulicaField() const noexcept { return ulica; }
    const Field20& povolanieField() const noexcept { return povolanie; }

    RodneCislo rc;

private:
    char meno[max_meno + 1] = {};
    char priezvisko[max_priezvisko + 1] = {};
    char mesto[max_mesto + 1] = {};
    char ulica[max_ulica + 1] = {};
    char povolanie[max_povolanie + 1] = {};
    int32_t plat = 0;
    int32_t pocet_uverov = 0;
    int32_t suma_uverov = 0;
    int32_t bonita = 0;
    int32_t splacal_nacas = 0;
};
