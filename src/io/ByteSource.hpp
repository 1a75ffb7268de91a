#pragma once

#include <cstddef>
#include <cstdint>

// Where the reader takes the client file's bytes from: the file itself in the
// program, a text in the tests.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Reads up to size bytes into buffer. Gives how many were read, 0 at the
    // end of the file, or -1 on a read error, with errno telling why.
    virtual std::ptrdiff_t read(char* buffer, std::size_t size) = 0;
    // The number of bytes the source is expected to hold, 0 when unknown;
    // only progress reports use it.
    virtual std::uint64_t sizeHint() const { return 0; }
};
