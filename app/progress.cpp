// The progress line, redrawn over itself with a carriage return: blanks
// clear what a longer line before it left, as every console understands.
#include "progress.h"

#include <cstdio>

#include "command_system.h"
#include "run_report.h"

void startProgress(Progress& progress, bool wanted) {
    progress.enabled = wanted && isTerminal(stderr);
    progress.start = std::chrono::steady_clock::now();
    progress.lastDrawn = progress.start;
    if (progress.enabled) progress.columns = terminalColumns(stderr);
}

void drawProgress(Progress& progress, std::size_t done, std::size_t total, const std::string& current) {
    using namespace std::chrono;
    if (!progress.enabled) return;
    const auto now = steady_clock::now();
    const double seconds = duration<double>(now - progress.start).count();
    if (seconds < 1.0 || now - progress.lastDrawn < milliseconds(100)) return;
    progress.lastDrawn = now;
    std::string line = std::to_string(done) + '/' + std::to_string(total) +
                       formatText(" files, %.0f files/s, ", static_cast<double>(done) / seconds);
    // The file's name shortened from the left to the room the terminal has.
    const std::size_t room = progress.columns > 1 ? static_cast<std::size_t>(progress.columns - 1) : 1;
    if (line.size() + current.size() <= room)
        line += current;
    else if (line.size() + 3 < room)
        line += "..." + current.substr(current.size() - (room - line.size() - 3));
    const std::size_t length = line.size();
    if (length < progress.drawnLength) line.append(progress.drawnLength - length, ' ');
    std::fprintf(stderr, "\r%s\r%s", line.c_str(), line.substr(0, length).c_str());
    std::fflush(stderr);
    progress.drawnLength = length;
}

void clearProgress(Progress& progress) {
    if (!progress.enabled || progress.drawnLength == 0) return;
    std::fprintf(stderr, "\r%s\r", std::string(progress.drawnLength, ' ').c_str());
    std::fflush(stderr);
    progress.drawnLength = 0;
}
