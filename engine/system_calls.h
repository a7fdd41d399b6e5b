// What the engine and the command-line program ask of the system beyond the
// standard library: large memory, file sizes, files that never replace
// another, links, renames and file identities. system_calls_posix.cpp and
// system_calls_win32.cpp answer, as the build chooses.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

// `bytes` of memory for the input and the line store, got the cheapest way
// the system offers (not zeroed), or null when they cannot be had.
char* allocateLarge(std::size_t bytes);
// Frees memory from allocateLarge; `bytes` is the size that was asked for.
void freeLarge(char* block, std::size_t bytes);

// The `size` bytes of an open regular file, mapped for reading where the
// system can and the file is large enough to gain from it (no copy is made);
// null otherwise, and the caller reads the file instead.
const char* mapFile(std::FILE* file, std::size_t size);
void unmapFile(const char* bytes, std::size_t size);

// The size of an open regular file, or -1 for anything else (a folder, a pipe).
long long regularFileSize(std::FILE* file);

// Creates a file that did not exist before, for writing; null (and errno set)
// when it exists or cannot be created.
std::FILE* createNewFile(const char* path);

// The file that `path` leads to through symbolic links, into `resolved`; the
// path itself where the system has no links or it is none. False (errno
// set) when a link cannot be read or the links loop.
bool resolveLinks(const char* path, std::string& resolved);

// 0 when an existing file at `path` may be replaced (or there is none), else
// the system's error number: a read-only file stays as it is.
int replaceableFile(const char* path);

// Asks the file system for room for about `bytes` of a new file before they
// are written, and gives back what was not used once `written` bytes are
// there: a file written into room it already has is renamed over another
// without the file system first placing its blocks. Advisory: nothing fails
// when the system has no such call.
void reserveFileSpace(std::FILE* file, std::size_t bytes);
void releaseUnusedSpace(std::FILE* file, std::size_t written);

// Gives the new file the permissions of the file at `path`, if there is one.
void copyPermissions(std::FILE* file, const char* path);

// Puts the file `from` in place of `to`; 0, or the system's error number.
int replaceFile(const char* from, const char* to);

// What tells one file from another, whatever the names that lead to it.
struct FileIdentity {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    bool operator==(const FileIdentity&) const = default;
};

// The identity of the file at `path` (through symbolic links); false when
// there is none.
bool fileIdentity(const char* path, FileIdentity& identity);

// Whether anything stands at `path`: a file, a folder, or a symbolic link,
// even one that leads nowhere.
bool pathExists(const char* path);

// The signals that end a program from outside: SIGINT (Ctrl+C), SIGTERM (a
// killed program) and SIGHUP (a closed terminal); on Windows Ctrl+C and
// Ctrl+Break (taken as SIGINT, 2) and a closed console, a logoff or a
// shutdown (taken as SIGHUP, 1). From this call on, each calls
// `onStop(signal)`: on POSIX in a signal's handler, so it may do only what a
// handler may; on Windows on the console's own thread. A closed console ends
// the program after onStop returns, with status 128 + 1, as Windows allows no
// more.
void catchStopSignals(void (*onStop)(int signal));

// Until releaseStopSignals, onStop waits: on POSIX the stop signals are blocked
// in this thread, and for good in the threads it starts meanwhile; on Windows
// the console's thread waits. Held while a temporary file is created and
// recorded, so that a handler finds every one. Not nested.
void holdStopSignals();
void releaseStopSignals();

// Runs there(thereContext) on a thread of its own while here(hereContext)
// runs on this one, and returns when both are done; where no thread can be
// had, runs one after the other. The thread never takes a stop signal.
void runBesideThis(void (*there)(void*), void* thereContext, void (*here)(void*), void* hereContext);

// Removes the file at `path`, as a signal's handler may. On Windows the file
// goes when the last handle to it closes, at the latest when the program ends.
void removeFileInHandler(const char* path);

// The system's words for an error number, from any thread.
std::string errorText(int error);
