// The kind of a subtitle file, told by the last three characters of its name,
// and the output name that Open proposes for an input.
#pragma once

#include <optional>
#include <string>
#include <string_view>

enum FileKind : int { FileKindNone = 0, FileKindSsa = 1, FileKindSrt = 2 };

FileKind fileKindOf(std::string_view path);

// The name that the Open button proposes for the output: the input with the
// other extension. Nothing when the path has no "." four places from its end.
std::optional<std::string> deriveOutputName(std::string_view path);
