// The page's side of the engine: the settings that the page's controls set,
// named as the fields of ConversionSettings, and one run on files of the
// in-memory file system, whose report the page shows.
#include <emscripten.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "characters.h"
#include "conversion_run.h"
#include "frame_rate_text.h"
#include "run_lines.h"

namespace {

ConversionSettings settings;
RunReport report;
std::string reportText;

// How a control's text sets a field: the frame-rate box as the dialog reads
// it, a check box ("true" when checked), a number box as the dialog reads it
// (its unsigned decimal value, 0 when it holds none).
using FieldReader = void (*)(std::string_view text);

void frameRateBox(std::string_view text) { settings.frameRate = frameRateOfText(text); }

template <bool ConversionSettings::*field>
void checkBox(std::string_view text) {
    settings.*field = text == "true";
}

std::uint32_t unsignedOfText(std::string_view text) {
    std::uint64_t value = 0;
    for (const char c : text) {
        if (!isDigit(c)) return 0;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        if (value > UINT32_MAX) return 0;
    }
    return static_cast<std::uint32_t>(value);
}

template <std::uint32_t ConversionSettings::*field>
void numberBox(std::string_view text) {
    settings.*field = unsignedOfText(text);
}

// "translate tags", as in the dialogs: translate when ticked, keep when not.
void translateTagsBox(std::string_view text) {
    settings.markup = text == "true" ? MarkupMode::translate : MarkupMode::keep;
}

struct Field {
    const char* name;
    FieldReader read;
};

// One line a field: the page's control of that name sets it.
const Field kFields[] = {
    {"frameRate", frameRateBox},
    {"joinWithNewline", checkBox<&ConversionSettings::joinWithNewline>},
    {"shiftFirstSub", checkBox<&ConversionSettings::shiftFirstSub>},
    {"firstSubHours", numberBox<&ConversionSettings::firstSubHours>},
    {"firstSubMinutes", numberBox<&ConversionSettings::firstSubMinutes>},
    {"firstSubSeconds", numberBox<&ConversionSettings::firstSubSeconds>},
    {"firstSubMillis", numberBox<&ConversionSettings::firstSubMillis>},
    {"strict", checkBox<&ConversionSettings::strict>},
    {"translateTags", translateTagsBox},
};

const char* linesText(const std::vector<std::string>& lines) {
    reportText = joinLines(lines, "\n");
    return reportText.c_str();
}

}  // namespace

extern "C" {

// Sets the field `name` from its control's text; 0 when no field has that name.
EMSCRIPTEN_KEEPALIVE int marlivaSetSetting(const char* name, const char* text) {
    for (const Field& field : kFields) {
        if (std::string_view(name) == field.name) {
            field.read(text);
            return 1;
        }
    }
    return 0;
}

// The names of the fields that the page sets, each followed by a line feed.
EMSCRIPTEN_KEEPALIVE const char* marlivaSettingNames() {
    std::vector<std::string> names;
    for (const Field& field : kFields) names.emplace_back(field.name);
    return linesText(names);
}

// The output name that Open and Convert as propose for `input`; empty when none.
EMSCRIPTEN_KEEPALIVE const char* marlivaOutputName(const char* input) {
    reportText = deriveOutputName(input).value_or(std::string());
    return reportText.c_str();
}

// Converts the file `input` into `output`, both in the current folder; 1
// when the run completed, 0 when it failed and wrote nothing.
EMSCRIPTEN_KEEPALIVE int marlivaConvert(const char* input, const char* output) {
    settings.inputPath = input;
    settings.outputPath = output;
    report = runConversion(settings);
    return report.completed() ? 1 : 0;
}

// The last run's report, one part at a time, each line followed by a line
// feed: 0 its log lines, 1 its message, 2 the input lines it did not convert,
// 3 a note on the frame rate that the input declares.
EMSCRIPTEN_KEEPALIVE const char* marlivaReport(int part) {
    switch (part) {
    case 0: return linesText(logLines(report));
    case 1: return linesText(messageLines(report));
    case 2: return linesText(notConvertedLines(settings.inputPath, report.notConverted));
    default: {
        const std::string note = declaredRateNote(settings, report);
        return linesText(note.empty() ? std::vector<std::string>{} : std::vector<std::string>{note});
    }
    }
}

}  // extern "C"
