#include "app/Dialogue.hpp"

#include <iostream>

int main() {
    Prostredie prostredie{std::cin, std::cout, systemLocalTime, "."};
    return runKlienti(prostredie);
}
