#pragma once

// Panel changes around opening a dataset. Each does nothing before the
// panel is built.

// Selects "Velocity" in the "Background" group without calling back,
// disables every channel button and hides those from "Channel 3" on (done
// before loading).
void resetBackgroundChoice();

// Enables (and shows) the buttons of the dataset's data channels: "Channel 1"
// for one channel, "Channel 1" and "Channel 2" for two, "Channel 1" to
// "Channel n" for n.
void enableChannelButtons(int dataChannelCount);

// Opens up the panel after a successful open: the view options, the
// background section (expanded; the channel buttons keep the state the
// opener gave them), the save section and "Reset Camera". The mode-dependent
// streamline controls are disabled whatever the mode; the arrow and
// streamline sections stay as they are until their check boxes are ticked.
void enableDatasetControls();

// Opens up the "Time" section, its slider running over steps 0 to
// stepCount - 1, for a dataset with more than one time step; otherwise
// disables and collapses it.
void enableTimeControls(int stepCount);

// Collapses the "File Browser" section once a file has been opened from it.
void closeFileBrowser();
