#pragma once

// The editor's whole run on its command line. "--version" prints the
// version and the version record; "--render PNG" starts as usual, then
// writes the main window to PNG and ends instead of running. Returns the
// exit status: non-zero when start-up failed.
int RunPalvane(int argc, char** argv);
