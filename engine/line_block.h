// The line store's one block of zero-filled memory, obtained from the system
// in the cheapest way it offers; the benchmarks measure the same allocation.
#pragma once

#include <cstddef>

// `bytes` zero bytes, or null when they cannot be had.
char* allocateLineBlock(std::size_t bytes);
// Frees a block from allocateLineBlock; `bytes` is the size it was asked for.
void freeLineBlock(char* block, std::size_t bytes);
