#pragma once

#include "model/RodneCislo.hpp"
#include "text/FixedText.hpp"

#include <cstdint>
#include <string_view>

// One client of the bank, one record line of the client file: filled once by
// the reader, never changed afterwards; a new record is all empty texts and 0.
class Klient {
public:
    void setMeno(std::string_view text) noexcept { storeFixedText(meno, text); }
    void setPriezvisko(std::string_view text) noexcept { storeFixedText(priezvisko, text); }
    void setMesto(std::string_view text) noexcept { storeFixedText(mesto, text); }
    void setUlica(std::string_view text) noexcept { storeFixedText(ulica, text); }
    void setPovolanie(std::string_view text) noexcept { storeFixedText(povolanie, text); }
    constexpr void setPlat(int32_t value) noexcept { plat = value; }
    constexpr void setPocetUverov(int32_t value) noexcept { pocet_uverov = value; }
    constexpr void setSumaUverov(int32_t value) noexcept { suma_uverov = value; }
    constexpr void setBonita(int32_t value) noexcept { bonita = value; }
    constexpr void setSplacalNacas(int32_t value) noexcept { splacal_nacas = value; }

    constexpr int32_t getPlat() const noexcept { return plat; }
    constexpr int32_t getPocetUverov() const noexcept { return pocet_uverov; }
    constexpr int32_t getSumaUverov() const noexcept { return suma_uverov; }
    constexpr int32_t getBonita() const noexcept { return bonita; }
    constexpr int32_t getSplacalNacas() const noexcept { return splacal_nacas; }

    // The fields themselves, a text and zeros behind its terminator: the
    // ordering reads their bytes as a key, and the writers copy them whole.
    using Field20 = char[20];
    using Field30 = char[30];
    constexpr const Field20& menoField() const noexcept { return meno; }
    constexpr const Field20& priezviskoField() const noexcept { return priezvisko; }
    constexpr const Field20& mestoField() const noexcept { return mesto; }
    constexpr const Field30& ulicaField() const noexcept { return ulica; }
    constexpr const Field20& povolanieField() const noexcept { return povolanie; }

    RodneCislo rc;

private:
    Field20 meno = {}, priezvisko = {}, mesto = {};
    Field30 ulica = {};
    Field20 povolanie = {};
    int32_t plat = 0, pocet_uverov = 0, suma_uverov = 0, bonita = 0, splacal_nacas = 0;
};
