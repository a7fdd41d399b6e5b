// What a stop of the program changes, owned here alone: the stop flag, set
// by the first stop (a stop signal, or a batch whose reader has gone), and
// the registry of the temporary files being written, which the stop
// removes. From the stop on, every output fails rather than be put in place.
// A signal's handler may call requestStop and stopSignal.
#pragma once

#include <string>

// The most outputs a program writes at once: a batch's jobs at most, each
// writing one. The registry has a slot for each.
constexpr int kMostJobs = 64;

// From this call on, a stop signal stops the program (requestStop). A single
// run then ends at once with status 128 + the signal's number; with
// `finishCleanly` (a batch) the program goes on to report what it did, and
// only a second signal ends it at once.
void catchStops(bool finishCleanly);

// Sets the stop flag and removes the temporary file of every output being
// written; false when the flag was set already.
bool requestStop(int signal);

// The signal of the first stop, or 0 while there was none.
int stopSignal();

// Records a copy of the temporary file's path for a stop to find: its slot,
// or -1 when every slot is taken (more outputs at once than kMostJobs).
int recordTemporary(const std::string& path);
// Forgets the file of `slot` (once it is in place or removed); the slot is -1 after.
void forgetTemporary(int& slot);
