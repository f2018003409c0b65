#pragma once

#include <array>

// Which element sets the user picked (selected: shown by the tracking
// control) and which of those also go on the host's map (plot). Entry i
// belongs to element set i - 1; entry 0 is not used.
struct SatelliteSelection
{
    static constexpr int Size = 101;

    std::array<bool, Size + 1> selected{};
    std::array<bool, Size + 1> plot{};

    void clear()
    {
        selected.fill(false);
        plot.fill(false);
    }
};

// Kept from one run to the next as SatelliteChoices (by name and catalogue number).
SatelliteSelection &satelliteSelection();
