#pragma once

#include "io/ClientReader.hpp"

#include <filesystem>
#include <optional>
#include <utility>

// The client file, read through its descriptor so that a read error, with its
// reason, is told apart from the end. A directory opens but fails to read: a
// read error, whenever it became one.
class InputFile final : public ByteSource {
public:
    // Gives nothing on failure, with errno set.
    static std::optional<InputFile> open(const std::filesystem::path& path);

    InputFile(InputFile&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {} // and no assignment
    ~InputFile() override;

    std::ptrdiff_t read(char* buffer, std::size_t size) override;
    std::uint64_t sizeHint() const override;

private:
    explicit InputFile(int fd) noexcept : fd_(fd) {}
    int fd_;
};
