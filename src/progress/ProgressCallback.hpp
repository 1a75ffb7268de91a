#pragma once

#include <cstdint>

// How a long step tells how far it got: done out of total units of its own, a
// few times per mebibyte or million records, never per record. An empty one does
// nothing. It owns nothing, so passing it on allocates nothing.
class ProgressCallback {
public:
    using Function = void (*)(void* receiver, std::uint64_t done, std::uint64_t total);

    ProgressCallback() noexcept = default;
    ProgressCallback(Function function, void* receiver) noexcept : function_(function), receiver_(receiver) {}

    explicit operator bool() const noexcept { return function_ != nullptr; }
    void operator()(std::uint64_t done, std::uint64_t total) const noexcept {
        if (function_ != nullptr) {
            function_(receiver_, done, total);
        }
    }

private:
    Function function_ = nullptr;
    void* receiver_ = nullptr;
};
