#pragma once

#include <string_view>

// How a client file is written, as its header shows it. Output files are
// written alike.
struct Dialect {
    char separator = ',';
    bool byte_order_mark = false;   // a UTF-8 byte order mark before the header
    bool some_field_quoted = false; // some record's field was quoted
    bool crlf = false;              // the header line ends with CR LF

    // A file a spreadsheet wrote, not a plain comma file: its output quotes
    // a field wherever reading it back needs that, and mirrors its line ends.
    constexpr bool spreadsheet() const noexcept { return some_field_quoted || byte_order_mark || separator != ','; }
    constexpr std::string_view lineEnd() const noexcept { return spreadsheet() && crlf ? "\r\n" : "\n"; }
};

inline constexpr std::string_view byte_order_mark = "\xEF\xBB\xBF";

// Of the comma, the semicolon and the tab, the first that splits the header
// (its line without the line end), outside quotes, into the eleven columns,
// empty trailing fields not counted; where none does, the first the header
// holds; else the comma.
char separatorOf(std::string_view header) noexcept;
