#pragma once

#include <cstddef>
#include <optional>

// What the two menus' tables share: a line per criterion, in the order of
// the criterion's type, each with the digit the user types.

// The criterion of a typed digit, if the menu has it.
template <typename Menu>
constexpr auto criterionFor(const Menu& menu, char digit) noexcept -> std::optional<decltype(menu[0].kriterium)> {
    for (const auto& item : menu) {
        if (item.digit == digit) {
            return item.kriterium;
        }
    }
    return std::nullopt;
}

// Whether line i of the menu is criterion i, so that a criterion finds its
// line by its value.
template <typename Menu>
constexpr bool listedInOrder(const Menu& menu) noexcept {
    for (std::size_t i = 0; i < menu.size(); ++i) {
        if (static_cast<std::size_t>(menu[i].kriterium) != i) {
            return false;
        }
    }
    return true;
}
