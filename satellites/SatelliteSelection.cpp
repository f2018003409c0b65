#include "satellites/SatelliteSelection.h"

SatelliteSelection &satelliteSelection()
{
    static SatelliteSelection selection;
    return selection;
}
