// The user who taps OK: for a scripted run that meets a message box of the
// item's (one it shows while the Today screen loads it, say, when no step
// of the script can run), a thread that answers each message box of this
// process with OK, a moment after it shows, and says on stderr what it
// read.
#pragma once

// Starts the thread, for the life of the process.
void StartAnsweringBoxes();
