#pragma once

#include <string_view>

// What a single line of a two-line element set carries for whoever reads it
// before the model does: its check digit and its catalogue number.
namespace ElementLine {

// The check digit is the sum of a line's first 68 characters modulo 10, where
// each digit counts its value, each minus sign 1 and everything else 0. A line
// whose check digit is missing or wrong has been corrupted somewhere between
// the publisher and us.
constexpr int kCheckColumn = 68;  // 0-based: the 69th character

constexpr int checkDigit(std::string_view line)
{
    int sum = 0;
    const std::size_t n = line.size() < std::size_t(kCheckColumn) ? line.size() : std::size_t(kCheckColumn);
    for (std::size_t i = 0; i < n; ++i) {
        const char c = line[i];
        if (c >= '0' && c <= '9')
            sum += c - '0';
        else if (c == '-')
            sum += 1;
    }
    return sum % 10;
}

constexpr bool checked(std::string_view line)
{
    if (line.size() <= std::size_t(kCheckColumn))
        return false;
    const char digit = line[kCheckColumn];
    return digit >= '0' && digit <= '9' && digit - '0' == checkDigit(line);
}

// Columns 3 to 7 of either line, without the blanks around them; empty when
// the line is too short to hold them.
constexpr std::string_view catalogueField(std::string_view line)
{
    if (line.size() <= 2)
        return {};
    std::string_view field = line.substr(2, 5);
    while (!field.empty() && (field.front() == ' ' || field.front() == '\t'))
        field.remove_prefix(1);
    while (!field.empty() && (field.back() == ' ' || field.back() == '\t'))
        field.remove_suffix(1);
    return field;
}

} // namespace ElementLine
