#pragma once

#include <string>

class StreamlineSet;

// The viewer's streamline placements. A request places the lines that the
// settings (streamlineSet) and the mode ask for now; the lines on show are
// replaced by them when the placement ends, which then prints its console
// lines and posts its messages (reportPlacement).
//
// Until placeInBackground() is called (during start-up, and throughout a
// batch run) a request places at once, as placements always did. After it,
// the requests of one event are placed one after the other on a thread of
// their own while the window goes on drawing and shows the progress in its
// status line; a request of a later event cancels them. A cancelled
// placement prints nothing, and its lines never show.
void placeInBackground();
// Seeded ("Normal") or evenly spaced.
void requestPlacement(bool seeded);
// Cancels the placement in hand and forgets those asked for, so that the
// dataset may change.
void stopPlacements();
// The same, and the lines on show go too: the dataset is about to go.
void discardPlacements();
// Whether a placement is asked for or running.
bool placing();
// "placing streamlines: N lines, P % of the domain" while one runs, else empty.
std::string placementProgress();

// The lines of the last placement that ended; null before the first.
StreamlineSet* placedStreamlines();
