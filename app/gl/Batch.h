#pragma once

// Options of the command line beyond "datafile", for scripts and reports:
// "-options FILE" loads an options file, "-fitToData 1" presses "Fit to
// data", every panel setting can be given under the name of its live
// variable, and "-screenshot FILE" saves the first complete frame and ends
// the program.

// Runs after the dataset of the command line was opened.
void applyBatchOptions();
// Runs after every displayed frame.
void afterFrame();
