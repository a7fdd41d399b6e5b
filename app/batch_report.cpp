// The batch's lines and JSON objects.
#include "batch_report.h"

#include <cstdio>

#include "command_system.h"
#include "run_lines.h"
#include "time_format.h"

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

// A time as a timing line writes it: "00:57:32,547".
std::string srtTimeText(Millis time) {
    char text[kTimeBufferSize];
    return std::string(text, putSrtTime(text, time));
}

std::string humanLine(const BatchItem& item, const FileResult& result, bool dryRun) {
    const char* skipped = dryRun ? "would be skipped" : "skipped";
    const char* failed = dryRun ? "would fail" : "failed";
    switch (result.status) {
    case FileStatus::converted: {
        std::string counts = formatText("%d subs", static_cast<int>(result.subs));
        if (result.notConverted.count > 0)
            counts += formatText(", %d lines not converted", static_cast<int>(result.notConverted.count));
        if (dryRun && result.changed.any) counts += "; times from " + srtTimeText(result.changed.firstStart) +
                                                   " to " + srtTimeText(result.changed.lastEnd);
        if (dryRun) return item.input + " -> " + item.output + ": would be converted (" + counts + ")";
        return item.input + " -> " + item.output + ": " + counts;
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
           formatText(",\"subs\":%d,\"lines_not_converted\":%d,\"seconds\":%.6f",
                      static_cast<int>(result.subs), static_cast<int>(result.notConverted.count),
                      result.seconds) +
           (item.folder ? ",\"folder\":true}" : "}");
}

void count(const BatchItem& item, FileStatus status, BatchTotals& totals) {
    if (item.folder) {
        ++totals.foldersNotRead;
        return;
    }
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

int reportFile(const BatchItem& item, const FileResult& result, const ReportStyle& style, BatchTotals& totals) {
    count(item, result.status, totals);
    if (result.status == FileStatus::notReached) return 0;
    std::FILE* human = style.json ? stderr : stdout;
    int error = 0;
    const auto write = [&error](std::FILE* stream, const std::string& text) {
        if (const int failed = writeText(stream, text); failed && !error) error = failed;
    };
    if (style.json) write(stdout, jsonObject(item, result) + '\n');
    write(human, humanLine(item, result, style.dryRun) + '\n');
    for (const std::string& line : notConvertedLines(item.input, result.notConverted))
        write(stderr, "marliva-convert: " + line + '\n');
    for (const std::string& line : markupDroppedLines(item.input, result.markupDropped))
        write(stderr, "marliva-convert: " + line + '\n');
    if (!result.note.empty()) write(stderr, "marliva-convert: " + result.note + '\n');
    return error;
}

void reportTotals(const BatchTotals& totals, const ReportStyle& style) {
    const auto counted = [](std::size_t n, const char* one, const char* more) {
        return std::to_string(n) + ' ' + (n == 1 ? one : more);
    };
    std::string line = counted(totals.files, "file: ", "files: ") +
                       std::to_string(totals.converted) + (style.dryRun ? " would be converted, " : " converted, ") +
                       std::to_string(totals.failed) + (style.dryRun ? " would fail" : " failed");
    if (totals.skipped) line += ", " + std::to_string(totals.skipped) + (style.dryRun ? " would be skipped" : " skipped");
    if (totals.notReached) line += ", " + std::to_string(totals.notReached) + " not reached (interrupted)";
    if (totals.foldersNotRead) line += "; " + counted(totals.foldersNotRead, "folder", "folders") + " not read";
    if (style.json)
        writeText(stdout, formatText("{\"files\":%s,\"converted\":%s,\"failed\":%s,\"skipped\":%s,\"not_reached\":%s,"
                                     "\"folders_not_read\":%s,\"seconds\":%.6f,\"dry_run\":%s}\n",
                                     std::to_string(totals.files).c_str(), std::to_string(totals.converted).c_str(),
                                     std::to_string(totals.failed).c_str(), std::to_string(totals.skipped).c_str(),
                                     std::to_string(totals.notReached).c_str(),
                                     std::to_string(totals.foldersNotRead).c_str(), totals.seconds,
                                     style.dryRun ? "true" : "false"));
    writeText(style.json ? stderr : stdout, line + '\n');
}
