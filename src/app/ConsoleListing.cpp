#include "app/ConsoleListing.hpp"

// The records formatted in one batch: a mebibyte or two of text, so that a
// million blocks cost a few hundred writes, not millions.
constexpr std::size_t batch_size = 8192;

WriterBuffers listingBuffers(int32_t pocet, unsigned workers) {
    return WriterBuffers(static_cast<std::size_t>(std::max(pocet, 0)), batch_size, client_block_room, workers);
}

bool printClients(const Klient* const* tabulka, int32_t pocet, ByteSink& out, WriterBuffers& buffers,
                  const ProgressCallback& progress) noexcept {
    return writeRecordsInOrder(
        tabulka, static_cast<std::size_t>(std::max(pocet, 0)), buffers,
        [](TextBuffer& buffer, const Klient& klient, std::size_t i) {
            appendClientBlock(buffer, klient, static_cast<int32_t>(i + 1));
        },
        out, progress);
}
