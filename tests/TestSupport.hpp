#pragma once

#include "app/Calendar.hpp"
#include "model/Datum.hpp"
#include "model/Klient.hpp"
#include "sink/ByteSink.hpp"
#include "text/FixedText.hpp"

#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// A local time that stands still: year, month 1 to 12, day, hour, minute.
std::tm fixedTime(int year, int month, int day, int hour = 12, int minute = 0);
Calendar fixedCalendar(int year, int month, int day, int hour = 12, int minute = 0);

// The text of a fixed-width field, up to its terminator.
template <std::size_t N>
std::string text(const char (&field)[N]) {
    return std::string(viewFixedText(field));
}

// Records owned by the test, made from well-formed input lines, with a table
// of pointers to them.
struct TestTable {
    std::vector<std::unique_ptr<Klient>> records;
    std::vector<Klient*> tabulka;
    void add(std::string_view line);
    int32_t pocet() const { return static_cast<int32_t>(tabulka.size()); }
};

// A fresh empty directory, removed with everything in it at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, std::string_view content);
// Names of the entries of a directory, sorted.
std::vector<std::string> listDir(const std::filesystem::path& directory);

// The header of the client file without its line end.
extern const std::string header;

// While one is alive, the nth allocation from now on (counted from 0) fails
// as if memory had run out, and only that one; happened() tells whether it
// came.
class NthAllocationFails {
public:
    explicit NthAllocationFails(long n);
    ~NthAllocationFails();
    NthAllocationFails(const NthAllocationFails&) = delete;
    NthAllocationFails& operator=(const NthAllocationFails&) = delete;
    bool happened() const;
};

// Keeps what the program writes. With a capacity it allocates nothing while
// it holds at most that many bytes, and a write beyond fails; without one, a
// write fails only where memory runs out.
class StringSink : public ByteSink {
public:
    explicit StringSink(std::size_t capacity = 0);
    bool write(std::string_view bytes) noexcept override;
    const std::string& text() const { return text_; }

private:
    std::string text_;
    bool limited_;
};

// While one is alive, every allocation of at least min_size bytes fails as
// if memory had run out.
class AllocationLimit {
public:
    explicit AllocationLimit(std::size_t min_size);
    ~AllocationLimit();
    AllocationLimit(const AllocationLimit&) = delete;
    AllocationLimit& operator=(const AllocationLimit&) = delete;
};
