#pragma once

// Fills the window providers with the windows, dialogs and host of every
// subsystem built into this program.
void wireProgram();
