// The batch's lines and JSON objects.
#include "batch_report.h"

#include <cstdio>

#include "run_lines.h"

namespace {

// The length of the UTF-8 character at text[i], or 0 when none starts there.
std::size_t utf8Length(const std::string& text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    std::size_t length = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (lead >= 0xF5 || i + length > text.size()) return 0;
    for (std::size_t k = 1; k < length; ++k)
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
    // No overlong forms, no surrogates, nothing beyond U+10FFFF.
    if (length == 3 && ((lead == 0xE0 && byte(i + 1) < 0xA0) || (lead == 0xED && byte(i + 1) >= 0xA0))) return 0;
    if (length == 4 && ((lead == 0xF0 && byte(i + 1) < 0x90) || (lead == 0xF4 && byte(i + 1) >= 0x90))) return 0;
    return length;
}

const char* statusWord(FileStatus status) {
    switch (status) {
    case FileStatus::converted: return "converted";
    case FileStatus::skipped: return "skipped";
    case FileStatus::failed: return "failed";
    case FileStatus::notReached: return "not reached";
    }
    return "";
}

std::string humanLine(const BatchItem& item, const FileResult& result, bool dryRun) {
    const char* skipped = dryRun ? "would be skipped" : "skipped";
    const char* failed = dryRun ? "would fail" : "failed";
    switch (result.status) {
    case FileStatus::converted: {
        if (dryRun) return item.input + " -> " + item.output + ": would be converted";
        std::string line = item.input + " -> " + item.output + formatText(": %d subs", static_cast<int>(result.subs));
        if (result.notConverted.count > 0)
            line += formatText(", %d lines not converted", static_cast<int>(result.notConverted.count));
        return line;
    }
    case FileStatus::skipped: return item.input + ": " + skipped + ": " + result.reason;
    default: return item.input + ": " + failed + ": " + result.reason;
    }
}

std::string jsonObject(const BatchItem& item, const FileResult& result) {
    const bool withReason = result.status != FileStatus::converted;
    return "{\"input\":" + jsonString(item.input) +
           ",\"output\":" + (item.output.empty() ? "null" : jsonString(item.output)) +
           ",\"status\":\"" + statusWord(result.status) +
           "\",\"reason\":" + (withReason ? jsonString(result.reason) : "null") +
           formatText(",\"subs\":%d,\"lines_not_converted\":%d,\"seconds\":%.6f}",
                      static_cast<int>(result.subs), static_cast<int>(result.notConverted.count),
                      result.seconds);
}

void count(FileStatus status, BatchTotals& totals) {
    ++totals.files;
    switch (status) {
    case FileStatus::converted: ++totals.converted; break;
    case FileStatus::skipped: ++totals.skipped; break;
    case FileStatus::failed: ++totals.failed; break;
    case FileStatus::notReached: ++totals.notReached; break;
    }
}

}  // namespace

std::string jsonString(const std::string& text) {
    std::string quoted = "\"";
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += static_cast<char>(c);
        } else if (c < 0x20) {
            quoted += formatText("\\u%04x", c);
        } else if (c >= 0x80) {
            const std::size_t length = utf8Length(text, i);
            quoted += length ? text.substr(i, length) : "\\ufffd";
            i += length ? length : 1;
            continue;
        } else {
            quoted += static_cast<char>(c);
        }
        ++i;
    }
    return quoted + '"';
}

void reportFile(const BatchItem& item, const FileResult& result, const ReportStyle& style,
                BatchTotals& totals) {
    count(result.status, totals);
    if (result.status == FileStatus::notReached) return;
    std::FILE* human = style.json ? stderr : stdout;
    if (style.json) std::printf("%s\n", jsonObject(item, result).c_str());
    std::fprintf(human, "%s\n", humanLine(item, result, style.dryRun).c_str());
    std::fflush(stdout);
    for (const std::string& line : notConvertedLines(item.input, result.notConverted))
        std::fprintf(stderr, "marliva-convert: %s\n", line.c_str());
    if (!result.note.empty()) std::fprintf(stderr, "marliva-convert: %s\n", result.note.c_str());
}

void reportTotals(const BatchTotals& totals, const ReportStyle& style) {
    const auto counted = [](std::size_t n, const char* what) { return std::to_string(n) + ' ' + what; };
    std::string line = counted(totals.files, "files: ") +
                       counted(totals.converted, style.dryRun ? "would be converted, " : "converted, ") +
                       counted(totals.failed, style.dryRun ? "would fail" : "failed");
    if (totals.skipped) line += ", " + counted(totals.skipped, style.dryRun ? "would be skipped" : "skipped");
    if (totals.notReached) line += ", " + counted(totals.notReached, "not reached (interrupted)");
    if (style.json)
        std::printf("{\"files\":%s,\"converted\":%s,\"failed\":%s,\"skipped\":%s,\"not_reached\":%s,"
                    "\"seconds\":%.6f,\"dry_run\":%s}\n",
                    std::to_string(totals.files).c_str(), std::to_string(totals.converted).c_str(),
                    std::to_string(totals.failed).c_str(), std::to_string(totals.skipped).c_str(),
                    std::to_string(totals.notReached).c_str(), totals.seconds, style.dryRun ? "true" : "false");
    std::fflush(stdout);
    std::fprintf(style.json ? stderr : stdout, "%s\n", line.c_str());
    std::fflush(stdout);
}
