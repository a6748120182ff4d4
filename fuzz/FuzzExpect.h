#pragma once

// Ends the process with a message when `holds` is false: a finding that no
// sanitizer would see, reported as a crash.
void FuzzExpect(bool holds, const char* what);
