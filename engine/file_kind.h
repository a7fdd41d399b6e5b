// The kind of a subtitle file, told by the last three characters of its name,
// and the output name that Open proposes for an input.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// An ASS script is read as an SSA script; the program writes only v4 scripts
// (".ssa"), so an ASS name is an input's, never an output's.
enum FileKind : int { FileKindNone = 0, FileKindSsa = 1, FileKindSrt = 2, FileKindAss = 3 };

FileKind fileKindOf(std::string_view path);

// The kind whose layout an input of this kind is read in.
inline FileKind layoutKindOf(FileKind kind) { return kind == FileKindAss ? FileKindSsa : kind; }

// The name that the Open button proposes for the output: the input with the
// other extension. Nothing when the path has no "." four places from its end.
std::optional<std::string> deriveOutputName(std::string_view path);
