// The progress line of a batch on a terminal: files done of all, files per
// second and the file being converted, drawn on stderr in place once the
// batch has run for a second, and cleared before anything else is printed.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>

struct Progress {
    bool enabled = false;
    std::chrono::steady_clock::time_point start;
    std::chrono::steady_clock::time_point lastDrawn;
    std::size_t drawnLength = 0;  // what the line on the screen holds
    int columns = 80;
};

// Enabled when `wanted` and stderr is a terminal.
void startProgress(Progress& progress, bool wanted);
// Draws the line, at most ten times a second.
void drawProgress(Progress& progress, std::size_t done, std::size_t total, const std::string& current);
void clearProgress(Progress& progress);
