// What the engine and the command-line program ask of the system beyond the
// standard library: input files read whole, files that never
// replace another, links, renames and file identities. system_calls_posix.cpp and
// system_calls_win32.cpp answer, as the build chooses.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

// An input file open for reading: a descriptor on POSIX, a handle on Windows.
struct InputFile {
    std::intptr_t handle = -1;
};

// What tells whether a file changed while it was read: its size and the time
// it was last written. Only a regular file has a size to trust; a pipe, a
// device or a folder has none.
struct FileState {
    bool regular = false;
    std::uint64_t size = 0;
    std::uint64_t lastWritten = 0;  // in the system's own units
    bool operator==(const FileState&) const = default;
};

// Opens the file at `path` for reading; 0, or the system's error number.
int openInputFile(const char* path, InputFile& file);
// What the open file is now; 0, or the system's error number.
int inputFileState(const InputFile& file, FileState& state);
// Reads up to `room` bytes into `to`, fewer only where the file ends; 0, or
// the system's error number.
int readInputFile(const InputFile& file, char* to, std::size_t room, std::size_t& got);
void closeInputFile(InputFile& file);

// Creates a file that did not exist before, for writing, into `file`; 0, or
// the system's error number (EEXIST when it exists).
int createNewFile(const char* path, std::FILE*& file);

// Writes `n` bytes to the file; 0, or the system's error number (EPIPE when
// the file is a pipe whose reader has gone).
int writeStream(std::FILE* file, const char* bytes, std::size_t n);
// Closes the file, writing what its stream still holds; 0, or the system's
// error number of that write.
int closeStream(std::FILE* file);

// The file that `path` leads to through symbolic links, into `resolved`; the
// path itself where the system has no links or it is none. 0, or the
// system's error number when a link cannot be read or the links loop.
int resolveLinks(const char* path, std::string& resolved);

// What stands at `path`, links followed: nothing (or nothing that can be
// looked at), a regular file, a folder, or anything else (a device, a pipe,
// a socket; on Windows NUL, CON and the other device names).
enum class PathKind { nothing, regularFile, folder, other };
PathKind pathKindOf(const char* path);

// 0 when a new file may be created in `folder`, or when there is no such
// folder yet; else the system's error number (a read-only folder, a file in
// the folder's place).
int creatableIn(const char* folder);

// 0 when an existing file at `path` may be replaced (or there is none), else
// the system's error number: a read-only file stays as it is.
int replaceableFile(const char* path);

// Asks the file system for room for about `bytes` of a new file before they
// are written, and gives back what was not used once `written` bytes are
// there: a file written into room it already has is renamed over another
// without the file system first placing its blocks. Advisory: nothing fails
// when the system has no such call. Where the room can only be had as file
// size (emscripten's in-memory files), the file is cut back to `written`, and
// releaseUnusedSpace returns the system's error number when that fails (else 0).
void reserveFileSpace(std::FILE* file, std::size_t bytes);
int releaseUnusedSpace(std::FILE* file, std::size_t written);

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

// The identity of the file at `path` (through symbolic links); 0, or the
// system's error number when there is none.
int fileIdentity(const char* path, FileIdentity& identity);

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

// Removes the file at `path`, as a signal's handler may. On Windows the file
// goes when the last handle to it closes, at the latest when the program ends.
void removeFileInHandler(const char* path);

// The system's words for an error number, from any thread.
std::string errorText(int error);

#ifdef _WIN32
// The error number nearest to a Windows error (GetLastError's): the one map
// of the programs, for every Windows call and every write, whose failure the
// C library would map its own way (a pipe whose reader has gone as EINVAL).
int errnoOfWindowsError(unsigned long error);
#endif
