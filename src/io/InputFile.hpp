#pragma once

#include "io/ByteSource.hpp"

#include <filesystem>
#include <optional>

// The client file, read through its descriptor so that a read error is told
// apart from the end of the file, with its reason. A directory opens but
// fails on the first read, so it is a read error, whenever it became one.
class InputFile final : public ByteSource {
public:
    // Opens the file for reading; gives nothing on failure, with errno set.
    static std::optional<InputFile> open(const std::filesystem::path& path);

    InputFile(InputFile&& other) noexcept;
    InputFile& operator=(InputFile&&) = delete;
    ~InputFile() override;

    std::ptrdiff_t read(char* buffer, std::size_t size) override;
    std::uint64_t sizeHint() const override;

private:
    explicit InputFile(int fd) noexcept : fd_(fd) {}
    int fd_;
};
