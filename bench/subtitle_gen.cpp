// Generates subtitle files from a fixed word list and a portable random sequence.
#include "subtitle_gen.h"

namespace {

// A linear congruential generator: the same sequence on every platform.
struct Random {
    std::uint64_t state;
    std::uint32_t next() {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<std::uint32_t>(state >> 33);
    }
    std::uint32_t below(std::uint32_t n) { return next() % n; }
};

constexpr std::string_view kWords[] = {
    "the",    "you",    "I",      "it",     "we",      "what",   "know",    "don't",
    "right",  "here",   "there",  "now",    "come",    "on",     "going",   "think",
    "dragon", "Sintel", "hurry",  "wait",   "please",  "never",  "always",  "tonight",
    "city",   "gate",   "north",  "again",  "really?", "no,",    "yes,",    "maybe",
    "look",   "listen", "friend", "home",   "sorry",   "thank",  "follow",  "quiet",
    "she",    "said",   "little", "world",  "it's",    "over",   "(sighs)", "-",
};
constexpr std::uint32_t kWordCount = sizeof(kWords) / sizeof(kWords[0]);

// One text line of 12 to about 50 characters.
void appendTextLine(std::string& out, Random& random) {
    std::size_t begin = out.size();
    std::size_t target = 12 + random.below(30);
    while (out.size() - begin < target) {
        if (out.size() != begin) out += ' ';
        out += kWords[random.below(kWordCount)];
    }
    if (random.below(4) == 0) out += random.below(2) ? "." : "!";
}

// One, two or (rarely) three text lines per entry.
int textLinesOf(Random& random) { return random.below(5) < 3 ? 1 : 2 + (random.below(6) == 0); }

struct Timing {
    std::int64_t startMs;
    std::int64_t endMs;
};

// Entry i of n: evenly spread over nine hours (at most 4 s apart) with a little
// jitter, each shown for about half to two thirds of its slot.
Timing timingOf(std::int64_t i, std::int64_t n, Random& random) {
    std::int64_t slot = 9LL * 3600 * 1000 / n;
    if (slot > 4000) slot = 4000;
    std::int64_t start = 1000 + i * slot + random.below(static_cast<std::uint32_t>(slot / 5 + 1));
    std::int64_t length = slot / 2 + random.below(static_cast<std::uint32_t>(slot / 6 + 1));
    return {start, start + length};
}

// A non-negative number with at least `width` digits, zero-filled.
void appendNumber(std::string& out, std::int64_t value, int width) {
    char digits[24];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value > 0 || n < width);
    while (n > 0) out += digits[--n];
}

// "hh:mm:ss,mmm"
void appendSrtTime(std::string& out, std::int64_t ms) {
    appendNumber(out, ms / 3600000, 2);
    out += ':';
    appendNumber(out, ms / 60000 % 60, 2);
    out += ':';
    appendNumber(out, ms / 1000 % 60, 2);
    out += ',';
    appendNumber(out, ms % 1000, 3);
}

// "h:mm:ss.cc"
void appendSsaTime(std::string& out, std::int64_t ms) {
    appendNumber(out, ms / 3600000, 1);
    out += ':';
    appendNumber(out, ms / 60000 % 60, 2);
    out += ':';
    appendNumber(out, ms / 1000 % 60, 2);
    out += '.';
    appendNumber(out, ms % 1000 / 10, 2);
}

void appendSrt(std::string& out, std::int64_t n, Random& random) {
    for (std::int64_t i = 0; i < n; ++i) {
        Timing t = timingOf(i, n, random);
        appendNumber(out, i + 1, 1);
        out += "\r\n";
        appendSrtTime(out, t.startMs);
        out += " --> ";
        appendSrtTime(out, t.endMs);
        out += "\r\n";
        for (int k = textLinesOf(random); k > 0; --k) {
            appendTextLine(out, random);
            out += "\r\n";
        }
        out += "\r\n";
    }
}

void appendFrames(std::string& out, std::int64_t n, Random& random) {
    for (std::int64_t i = 0; i < n; ++i) {
        Timing t = timingOf(i, n, random);
        // 25 frames per second: one frame is 40 ms.
        out += '{';
        appendNumber(out, t.startMs / 40, 6);
        out += "}{";
        appendNumber(out, t.endMs / 40, 6);
        out += '}';
        for (int k = textLinesOf(random); k > 0; --k) {
            appendTextLine(out, random);
            if (k > 1) out += '|';
        }
        out += "\r\n";
    }
}

constexpr std::string_view kSsaHeader =
    "[Script Info]\r\n"
    "; Generated for the Marliva benchmarks.\r\n"
    "Title: <untitled>\r\n"
    "Original Script: <unknown>\r\n"
    "ScriptType: v4.00\r\n"
    "Collisions: Normal\r\n"
    "PlayResY: 864\r\n"
    "PlayDepth: 0\r\n"
    "Timer: 100.0000\r\n"
    "\r\n"
    "[V4 Styles]\r\n"
    "Format: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, TertiaryColour, "
    "BackColour, Bold, Italic, BorderStyle, Outline, Shadow, Alignment, MarginL, MarginR, "
    "MarginV, AlphaLevel, Encoding\r\n"
    "Style: Default,Tahoma,50,16777215,65535,65535,-2147483640,-1,0,1,2,0,2,80,80,80,0,0\r\n"
    "\r\n"
    "[Events]\r\n"
    "Format: Marked, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\r\n";

void appendSsa(std::string& out, std::int64_t n, Random& random) {
    out += kSsaHeader;
    for (std::int64_t i = 0; i < n; ++i) {
        Timing t = timingOf(i, n, random);
        out += "Dialogue: Marked=0,";
        appendSsaTime(out, t.startMs);
        out += ',';
        appendSsaTime(out, t.endMs);
        out += ",*Default,";
        appendNumber(out, i + 1, 1);
        out += ",0000,0000,0000,,";
        for (int k = textLinesOf(random); k > 0; --k) {
            appendTextLine(out, random);
            if (k > 1) out += "\\n";
        }
        out += "\r\n";
    }
}

}  // namespace

std::optional<GeneratedKind> generatedKindOf(std::string_view name) {
    if (name == "srt") return GeneratedKind::srt;
    if (name == "frames") return GeneratedKind::frames;
    if (name == "ssa") return GeneratedKind::ssa;
    return std::nullopt;
}

std::string generateSubtitles(GeneratedKind kind, std::int64_t entries, std::uint64_t seed) {
    std::string out;
    out.reserve(static_cast<std::size_t>(entries) * 120 + 1024);
    Random random{seed * 2654435761ULL + 12345};
    switch (kind) {
        case GeneratedKind::srt: appendSrt(out, entries, random); break;
        case GeneratedKind::frames: appendFrames(out, entries, random); break;
        case GeneratedKind::ssa: appendSsa(out, entries, random); break;
    }
    return out;
}
