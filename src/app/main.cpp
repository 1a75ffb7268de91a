#include "app/Dialogue.hpp"
#include "app/Signals.hpp"

#include <iostream>

int main() {
    installSignalHandlers();
    Prostredie prostredie{std::cin, std::cout, systemLocalTime, "."};
    return runKlienti(prostredie);
}
