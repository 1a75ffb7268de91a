#pragma once

#include "io/FormatInOrder.hpp"
#include "model/Klient.hpp"
#include "model/ProgressCallback.hpp"

#include <cstdint>
#include <ostream>
#include <string_view>

// The word for a payment-discipline code: 1 "vyborna", 2 "priemerna", any
// other value "slaba".
constexpr std::string_view disciplineWord(int32_t splacal_nacas) noexcept {
    if (splacal_nacas == 1) {
        return "vyborna";
    }
    if (splacal_nacas == 2) {
        return "priemerna";
    }
    return "slaba";
}

// Lists the first pocet records of the table as labelled blocks numbered
// from 1 in table order, formatted in the buffers on as many threads as they
// serve; nothing for an empty table. A stream that fails (a closed console)
// ends the listing early. progress is told the records listed so far.
void printClients(Klient* const* tabulka, int32_t pocet, std::ostream& out, FormatBuffers& buffers,
                  const ProgressCallback& progress = {});
