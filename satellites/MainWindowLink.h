#pragma once

#include <QString>

// The two things the satellite windows change on the main window: the text
// of the first status bar panel and a toolbar switch. They reach them by the
// names every main window gives them ("panel1", the tool's identifier), so
// nothing here depends on the main window's class.
namespace MainWindowLink {

void setStatusText(const QString &text);
// Turns a two-state tool off the way a click would, so what the tool shows
// follows (a window hidden, its window-list entry removed).
void switchToolOff(const QString &id);
// Shows a two-state tool on or off without acting on it, so it starts out
// telling the truth about what it switches.
void showToolState(const QString &id, bool on);

} // namespace MainWindowLink
