#pragma once

#include <cstddef>
#include <cstdint>

// Where the reader takes the client file's bytes from: the file in the
// program, a text in the tests.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Reads up to size bytes: how many were read, 0 at the end, -1 on an error
    // (errno says why).
    virtual std::ptrdiff_t read(char* buffer, std::size_t size) = 0;
    // The expected number of bytes, 0 when unknown; only progress reports use it.
    virtual std::uint64_t sizeHint() const { return 0; }
};
