#pragma once

#include <QString>

// "Error in ERROR_" + procedure + " : " + description.
QString errorText(const QString &procedure, const QString &description);

// Shows that text in an OK message box with the program's title, through Prompts.
void reportError(const QString &procedure, const QString &description);
