// What marliva-convert asks of the system beyond the engine's system calls
// (among which the system's words for an error): folders listed and made, and
// the terminal.
// command_system_posix.cpp and command_system_win32.cpp answer, as the build
// chooses.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "system_calls.h"

enum class EntryKind {
    file,          // a file, a link to one, or a link that leads nowhere
    folder,
    linkToFolder,  // never followed: a link back up would loop
    other,         // a pipe, a device: nothing a batch reads
};

struct FolderEntry {
    std::string name;
    EntryKind kind;
};

// The entries of a folder, "." and ".." left out; 0, or the system's error
// number when it cannot be read.
int listFolder(const std::string& folder, std::vector<FolderEntry>& entries);

// Whether `path` leads to a folder.
bool isFolder(const std::string& path);

// Creates the folder, whose parent exists; 0, or the system's error number.
int makeFolder(const std::string& path);

// Removes the folder if it is empty.
void removeEmptyFolder(const std::string& path);

// The separator of path parts that this system writes ('/', or '\\' on
// Windows), and whether a character separates parts.
char pathSeparator();
bool isPathSeparator(char c);

// Whether two names that differ only in the case of their letters name one
// file (on Windows).
bool namesIgnoreCase();

// From this call on, a write to a pipe whose reader has gone fails with EPIPE
// rather than ending the program (on POSIX, SIGPIPE is ignored): a batch then
// stops cleanly.
void ignoreClosedPipes();

// Writes the text to the stream and sends it on at once; 0, or the system's
// error number (EPIPE when the stream is a pipe whose reader has gone).
int writeText(std::FILE* stream, const std::string& text);

// Whether the stream is a terminal, and how many columns it has (80 when the
// system does not say).
bool isTerminal(std::FILE* stream);
int terminalColumns(std::FILE* stream);

