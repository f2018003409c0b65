#pragma once

#include <QString>

inline const QString DebugLogName = QStringLiteral("Debug.txt");

// Appends the text and a CR LF to "Debug.txt" in the data folder, as Latin-1.
// Opened, written and closed per call; a failure to write is ignored.
void appendDebugLog(const QString &text);
