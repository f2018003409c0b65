#pragma once

// Copies the data files the program ships into the data folder where they
// are missing; files already there are never replaced.
void InstallDefaultDataFiles();
