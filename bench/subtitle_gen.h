// Deterministic subtitle files of a given number of entries for the benchmarks
// and the output checks: SRT timing lines, frame lines or an SSA v4 script.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

enum class GeneratedKind { srt, frames, ssa };

std::optional<GeneratedKind> generatedKindOf(std::string_view name);

// The whole file, with carriage return and line feed line ends. The same kind,
// count and seed always give the same bytes. Entries are spread over at most
// nine hours; frame lines are at 25 frames per second.
std::string generateSubtitles(GeneratedKind kind, std::int64_t entries, std::uint64_t seed);
