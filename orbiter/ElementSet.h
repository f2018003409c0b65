#pragma once

#include <string>
#include <string_view>

namespace orbiter {

// The mean elements of one two-line element set, in the units the
// propagator takes: radians, radians per minute, Earth radii.
struct ElementSet
{
    std::string name;
    long catalogueNumber = 0;
    int epochYear = 0;         // four digits
    double epochDay = 0;       // day of the year with its fraction; 1.0 is 1 January 0h UTC
    double epoch1950 = 0;      // days since 1949-12-31 0h UTC, the model's own count
    double epochUnix = 0;      // seconds since 1970-01-01 0h UTC
    double bstar = 0;          // drag term, 1 / Earth radii
    double inclination = 0;
    double raan = 0;           // right ascension of the ascending node
    double eccentricity = 0;
    double argPerigee = 0;
    double meanAnomaly = 0;
    double meanMotion = 0;     // radians per minute, as published (Kozai)
    double revsPerDay = 0;     // as published

    double periodMinutes() const;
};

// Reads the fixed columns of lines 1 and 2. Check digits are not looked at
// here (the element file reader does that); anything after column 69 is
// ignored. False, with one line saying what is wrong, when a field the model
// needs is missing or not a number.
bool parseElementSet(std::string_view line1, std::string_view line2, ElementSet &out,
                     std::string *error = nullptr);

// Days since 1949-12-31 0h of 1 January 0h of the year.
double yearStart1950(int year);

} // namespace orbiter
