#include "sink/SinkStream.hpp"

bool SinkStream::Buffer::handOn() noexcept {
    const bool whole = sink_.write({pbase(), static_cast<std::size_t>(pptr() - pbase())});
    setp(area_, area_ + sizeof area_);
    return whole;
}

SinkStream::Buffer::int_type SinkStream::Buffer::overflow(int_type c) {
    if (!handOn()) {
        return traits_type::eof();
    }
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

std::streamsize SinkStream::Buffer::xsputn(const char* text, std::streamsize size) {
    if (size <= epptr() - pptr()) {
        return std::streambuf::xsputn(text, size);
    }
    return handOn() && sink_.write({text, static_cast<std::size_t>(size)}) ? size : 0;
}

int SinkStream::Buffer::sync() { return handOn() ? 0 : -1; }
