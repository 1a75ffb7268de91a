#pragma once

#include "sink/ByteSink.hpp"

#include <ostream>
#include <streambuf>

// The dialogue's formatted text onto a sink: gathered in a fixed buffer and
// handed on when it is full or flushed; a long text goes on at once. A
// failing sink fails the stream. Allocates nothing.
class SinkStream : public std::ostream {
public:
    explicit SinkStream(ByteSink& sink) : std::ostream(&buffer_), buffer_(sink) {}
    ~SinkStream() override { flush(); }

private:
    class Buffer : public std::streambuf {
    public:
        explicit Buffer(ByteSink& sink) noexcept : sink_(sink) { setp(area_, area_ + sizeof area_); }

    protected:
        int_type overflow(int_type c) override;
        std::streamsize xsputn(const char* text, std::streamsize size) override;
        int sync() override;

    private:
        bool handOn() noexcept; // what the buffer holds
        ByteSink& sink_;
        char area_[4096];
    };
    Buffer buffer_;
};
