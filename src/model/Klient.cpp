#include "model/Klient.hpp"

#include "model/FixedText.hpp"

void Klient::setMeno(std::string_view text) noexcept { storeFixedText(meno, text); }
void Klient::setPriezvisko(std::string_view text) noexcept { storeFixedText(priezvisko, text); }
void Klient::setMesto(std::string_view text) noexcept { storeFixedText(mesto, text); }
void Klient::setUlica(std::string_view text) noexcept { storeFixedText(ulica, text); }
void Klient::setPovolanie(std::string_view text) noexcept { storeFixedText(povolanie, text); }

std::string_view Klient::getMenoView() const noexcept { return viewFixedText(meno); }
std::string_view Klient::getPriezviskoView() const noexcept { return viewFixedText(priezvisko); }
std::string_view Klient::getMestoView() const noexcept { return viewFixedText(mesto); }
std::string_view Klient::getUlicaView() const noexcept { return viewFixedText(ulica); }
std::string_view Klient::getPovolanieView() const noexcept { return viewFixedText(povolanie); }
