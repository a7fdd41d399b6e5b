// File kinds from names, and the proposed output name.
#include "file_kind.h"

#include "characters.h"

static bool endsWithIgnoringCase(std::string_view path, const char* suffix) {
    const std::string_view tail = path.substr(path.size() - 3);
    for (int i = 0; i < 3; ++i) {
        if (lowerCase(tail[i]) != suffix[i]) return false;
    }
    return true;
}

FileKind fileKindOf(std::string_view path) {
    if (path.size() < 5) return FileKindNone;
    if (endsWithIgnoringCase(path, "srt")) return FileKindSrt;
    if (endsWithIgnoringCase(path, "ssa")) return FileKindSsa;
    if (endsWithIgnoringCase(path, "ass")) return FileKindAss;
    return FileKindNone;
}

std::optional<std::string> deriveOutputName(std::string_view path) {
    if (path.size() <= 4 || path[path.size() - 4] != '.') return std::nullopt;
    std::string name(path.substr(0, path.size() - 3));
    // Scripts become SRT; anything else gets "ssa", the script that SRT converts to.
    name += layoutKindOf(fileKindOf(path)) == FileKindSsa ? "srt" : "ssa";
    return name;
}
