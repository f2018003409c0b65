#pragma once

#include "orbiter/Sgp4.h"

#include <QString>
#include <QTextStream>

// Reads an element file and prepares the model for the set with a given
// name, for the commands that propagate. On failure it has written one line
// to err; the answer is then the exit status (1: the file, 2: the name).
struct ElementLookup
{
    orbiter::Sgp4 model;
    int status = 0;
};

ElementLookup lookUpElements(const QString &file, const QString &name, const char *command, QTextStream &err,
                             orbiter::Sgp4Mode mode = orbiter::Sgp4Mode::Afspc);
