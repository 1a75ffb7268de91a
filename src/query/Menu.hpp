#pragma once

#include "model/Klient.hpp"

#include <cstddef>
#include <optional>

// A text field of a record, as filters and orderings read it.
using TextKey = const Klient::Field20& (*)(const Klient&);

// What the two menus' tables share: line i is criterion i, typed as digit i + 1.

// The criterion of a typed digit, if the menu has it.
template <typename Menu>
constexpr auto criterionFor(const Menu& menu, char digit) noexcept -> std::optional<decltype(menu[0].kriterium)> {
    if (digit < '1' || static_cast<std::size_t>(digit - '1') >= menu.size()) {
        return std::nullopt;
    }
    return menu[static_cast<std::size_t>(digit - '1')].kriterium;
}

// Whether line i is criterion i, so that a criterion finds its line by its value.
template <typename Menu>
constexpr bool listedInOrder(const Menu& menu) noexcept {
    for (std::size_t i = 0; i < menu.size(); ++i) {
        if (static_cast<std::size_t>(menu[i].kriterium) != i) {
            return false;
        }
    }
    return true;
}
