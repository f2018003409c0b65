#pragma once

class frmMain;

// KESTREL_SCREENSHOT=file.png: once loaded, clicks the tools named in
// KESTREL_SCREENSHOT_TOOLS, waits KESTREL_SCREENSHOT_DELAY ms, saves pictures
// of the program's windows and quits. For the user guide, documentation and
// checks; the README lists what the tool list may hold.
// Does nothing when the variable is not set.
void startScreenshotSwitch(frmMain &main);
