#pragma once

// The editor's whole run on its command line. "--version" prints the
// version and the version record; "--render PNG" starts as usual, then
// writes the main window to PNG and ends instead of running. The rest is
// the editor's own command line (files, printing, requests to the running
// instance, unregistering). Returns the exit status: non-zero when start-up
// failed or what the program was started for could not be done.
int RunPalvane(int argc, char** argv);
