#pragma once

// Every error and warning of the viewer goes to standard error (std::cerr).
// A batch run is judged by that: watchStandardError passes everything on
// unchanged and notes that something was written.
void watchStandardError();
bool standardErrorWritten();
