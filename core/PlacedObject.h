#pragma once

#include <QString>

// An object Kestrel asks the host to place on its map (satellites, for one).
// Fields in the order they are set.
struct PlacedObject
{
    QString name;
    double latitude = 0;   // degrees, north positive
    double longitude = 0;  // degrees, east positive
    QString comment;
    int firstAttribute = 0;
    QString symbolCode;
    QString symbolTable;
    int secondAttribute = 0;
    int thirdAttribute = 0;
};

// Answers of HostApplication::placeObject.
enum class PlaceObjectStatus : int {
    Created = 0,
    UndefinedObjectError = 1,
    EditorActive = 2,
    DataFormatError = 3,
    CannotFind = 4,
    NotMine = 5,
};
