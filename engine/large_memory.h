// Where the program's speed meets the machine's memory: the blocks of the
// input, the line store and the output's buffer, and a text worked in two
// halves at once. The rest of the engine asks here and knows nothing of
// huge pages, mappings or threads.
#pragma once

#include <cstddef>

#include "system_calls.h"

// `bytes` of memory for the input, the line store or the output's buffer
// (not zeroed), or null when they cannot be had.
char* allocateLarge(std::size_t bytes);
// Frees memory from allocateLarge; `bytes` is the size that was asked for.
void freeLarge(char* block, std::size_t bytes);

// Where the second half of a text of `size` bytes begins when its lines are
// found in two halves at once: after the first line feed from its middle on,
// so that the lines of each half are whole. The text's end when it is too
// small for a thread to pay, or has no line feed after its middle.
const char* secondHalf(const char* text, std::size_t size);

// Runs there() on a thread of its own while here() runs on this one.
template <typename There, typename Here>
void bothAtOnce(There& there, Here& here) {
    runBesideThis([](void* work) { (*static_cast<There*>(work))(); }, &there,
                  [](void* work) { (*static_cast<Here*>(work))(); }, &here);
}
