#include "TestSupport.hpp"

#include "io/RecordLine.hpp"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <new>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

const std::string header =
    "rodne cislo,meno,priezvisko,ulica a cislo,mesto,povolanie,mesacna mzda,pocet uverov,"
    "suma uverov,bonita,platobna disciplina";

std::tm fixedTime(int year, int month, int day, int hour, int minute) {
    std::tm time{};
    time.tm_year = year - 1900;
    time.tm_mon = month - 1;
    time.tm_mday = day;
    time.tm_hour = hour;
    time.tm_min = minute;
    std::tm copy = time;
    // timegm fills in the weekday without depending on the time zone.
    timegm(&copy);
    time.tm_wday = copy.tm_wday;
    time.tm_yday = copy.tm_yday;
    return time;
}

Calendar fixedCalendar(int year, int month, int day, int hour, int minute) {
    const std::tm time = fixedTime(year, month, day, hour, minute);
    return [time] { return time; };
}

void TestTable::add(std::string_view line) {
    RecordFields fields;
    const char* end = nullptr;
    uint64_t lines = 0;
    const char* const data_end = line.data() + line.size();
    if (splitRecord(line.data(), data_end, data_end, true, ',', fields, end, lines) != Split::record) {
        throw std::invalid_argument("malformed test line: " + std::string(line));
    }
    records.push_back(std::make_unique<Klient>());
    fillKlient(fields, *records.back());
    tabulka.push_back(records.back().get());
}

TempDir::TempDir() {
    static std::atomic<int> next{0};
    path_ = std::filesystem::temp_directory_path() /
            ("klienti-test-" + std::to_string(getpid()) + "-" + std::to_string(next++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void writeFile(const std::filesystem::path& path, std::string_view content) {
    std::ofstream(path, std::ios::binary).write(content.data(), static_cast<std::streamsize>(content.size()));
}

std::vector<std::string> listDir(const std::filesystem::path& directory) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

namespace {
std::atomic<std::size_t> failing_from{SIZE_MAX};
std::atomic<long> allocations_to_failure{-1};
} // namespace

NthAllocationFails::NthAllocationFails(long n) { allocations_to_failure = n; }
NthAllocationFails::~NthAllocationFails() { allocations_to_failure = -1; }
bool NthAllocationFails::happened() const { return allocations_to_failure < 0; }

StringSink::StringSink(std::size_t capacity) : limited_(capacity > 0) { text_.reserve(capacity); }

bool StringSink::write(std::string_view bytes) noexcept {
    if (limited_ && text_.size() + bytes.size() > text_.capacity()) {
        errno = ENOSPC;
        return false;
    }
    try {
        text_.append(bytes);
        return true;
    } catch (const std::bad_alloc&) {
        errno = ENOMEM;
        return false;
    }
}

AllocationLimit::AllocationLimit(std::size_t min_size) { failing_from = min_size; }
AllocationLimit::~AllocationLimit() { failing_from = SIZE_MAX; }

// The test program's own allocation, so that AllocationLimit can make it
// fail; the array forms too, which sanitizer runtimes replace on their own.
// The compiler cannot know that this operator delete pairs with this new.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void* operator new(std::size_t size) {
    if (size >= failing_from.load(std::memory_order_relaxed)) {
        throw std::bad_alloc();
    }
    if (allocations_to_failure.load(std::memory_order_relaxed) >= 0 && allocations_to_failure.fetch_sub(1) == 0) {
        throw std::bad_alloc();
    }
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return ::operator new(size); }
// The forms that give null (std::stable_sort's buffer) free as the others do.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return ::operator new(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& nothrow) noexcept { return ::operator new(size, nothrow); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
