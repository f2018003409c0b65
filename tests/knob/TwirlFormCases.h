#pragma once

// Knobs as a designer edits them in a form editor: each case is the list of
// property edits in the order the designer made them. The form generator
// saves them as the form editor does; the round-trip test replays them.

#include <initializer_list>

namespace twirlform {

struct Edit {
    const char *property;
    int value;
};

struct Case {
    const char *name;
    std::initializer_list<Edit> edits;
};

inline const Case kCases[] = {
    {"valueAboveDefaultMax", {{"Max", 99}, {"Value", 33}}},
    {"positionOnAFullTurn", {{"Max", 359}, {"Position", 200}}},
    {"negativeRange", {{"Min", -20}, {"Max", -5}}},
    {"negativeRangeMaxFirst", {{"Max", -5}, {"Min", -20}}},
    {"maxBelowDefaultMin", {{"Max", -5}}},
    {"minAboveDefaultMax", {{"Min", 20}}},
    {"rangeAboveDefaults", {{"Min", 50}, {"Max", 100}, {"Value", 70}}},
    {"rangeAboveDefaultsMaxFirst", {{"Max", 100}, {"Min", 50}, {"Value", 70}}},
    {"negativeWithValue", {{"Value", 4}, {"Min", -100}, {"Max", -10}, {"Value", -50}}},
    {"valueThenPosition", {{"Max", 99}, {"Value", 33}, {"Position", 200}}},
    {"positionThenValue", {{"Max", 99}, {"Position", 200}, {"Value", 33}}},
    {"sameValueOnItsOwnAngle", {{"Position", 330}, {"Value", 10}}},
    {"sameValueOnAnotherAngle", {{"Value", 10}, {"Position", 330}}},
    {"wideRangeWrapOff", {{"Wrap", 0}, {"Min", -500}, {"Max", 1500}, {"Value", 1234}}},
    {"wrapBackOn", {{"Wrap", 0}, {"Max", 40}, {"Value", 39}, {"Wrap", 1}}},
    {"hugeSpan", {{"Min", -2000000000}, {"Max", 2000000000}, {"Value", 123456789}, {"Position", 45}}},
    {"valueAtNegativeMin", {{"Min", -7}, {"Max", 3}, {"Value", -7}}},
    {"everythingReversed", {{"Position", 90}, {"Value", 60}, {"Max", 80}, {"Min", 40}}},
};

} // namespace twirlform
