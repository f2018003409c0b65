#pragma once

#include <string_view>

// The check digit of a two-line element line is the sum of its first 68
// characters modulo 10, where each digit counts its value, each minus sign 1
// and everything else 0. A line whose check digit is missing or wrong has been
// corrupted somewhere between the publisher and us.
namespace ElementChecksum {

constexpr int kCheckColumn = 68;  // 0-based: the 69th character

constexpr int compute(std::string_view line)
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

constexpr bool valid(std::string_view line)
{
    if (line.size() <= std::size_t(kCheckColumn))
        return false;
    const char digit = line[kCheckColumn];
    return digit >= '0' && digit <= '9' && digit - '0' == compute(line);
}

} // namespace ElementChecksum
