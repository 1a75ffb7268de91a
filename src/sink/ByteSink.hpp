#pragma once

#include <string_view>

// The one way bytes leave the program: the console, the pager's pipe, the
// output file and the progress line are all sinks. write() says whether every
// byte went out; when not, errno says why.
class ByteSink {
public:
    virtual bool write(std::string_view bytes) noexcept = 0;

protected:
    ~ByteSink() = default;
};

// A descriptor, written whole: a short write goes on with the rest, an
// interrupted one is tried again, a full one that does not block is waited for.
class DescriptorSink final : public ByteSink {
public:
    explicit DescriptorSink(int fd) noexcept : fd_(fd) {}
    bool write(std::string_view bytes) noexcept override;

private:
    int fd_;
};
