#pragma once

// Options of the command line beyond "datafile", for scripts and reports:
// "-fitToData 1" fits the streamline settings to the dataset as it opens,
// "-options FILE" loads an options file, every panel setting can be given
// under the name of its live variable, and "-screenshot FILE" saves the
// first complete frame and ends the program.
//
// A run with -screenshot is a batch run. It always ends: it saves the
// picture whenever a frame can be drawn, and exits with 0 only when the
// picture was saved and nothing was reported on standard error (where every
// error and warning goes); otherwise with 1, as it does when it ends early
// (no file name, a shader missing). Without -screenshot the viewer reports
// the same problems and carries on, as it always did.

struct ViewerArguments;

// Called first, with the command line as given: notes a batch run.
void beginBatchRun(const ViewerArguments& arguments);
bool isBatchRun();

// Reads -fitToData before the dataset of the command line opens.
void readFitOption();
// Whether the dataset being opened fits its settings first ("Fit to data"
// before its first placement, so that a box far from unit size never places
// with the start values).
bool fitsOnOpening();
// Runs after the dataset of the command line was opened.
void applyBatchOptions();
// Runs after every displayed frame.
void afterFrame();
