// The main dialog's layout, once: its size, caption and font, and its controls
// in template order, which is also the tab order. The Qt window is built from
// it; marliva.rc holds the same template for the resource compiler, and the
// Win32 tests check that the two agree.
#pragma once

#include "resource.h"
#include "version.h"

enum class ControlKind { PathEdit, NumberBox, PushButton, CheckBox, Combo, Label, LogPane, TextEdit };

// A rectangle in dialog units.
struct DialogUnits {
    int x, y, width, height;
};

struct ControlLayout {
    int id;  // IDC_STATIC for the labels
    ControlKind kind;
    const char* text;
    DialogUnits units;  // a combo box's height includes its dropped list
};

inline constexpr DialogUnits kMainDialogUnits{0, 0, 232, 133};
inline constexpr char kMainDialogCaption[] =
    "Marliva " MARLIVA_VERSION " by the Marliva developers";
inline constexpr char kMainDialogFont[] = "MS Sans Serif";
inline constexpr int kMainDialogFontPoints = 8;

inline constexpr ControlLayout kMainDialogControls[] = {
    {IDC_INPUT_PATH, ControlKind::PathEdit, "", {68, 10, 154, 12}},
    {IDC_CONVERT, ControlKind::PushButton, "Convert", {9, 25, 49, 19}},
    {IDC_OPEN, ControlKind::PushButton, "Open", {9, 6, 49, 19}},
    {IDC_OUTPUT_PATH, ControlKind::PathEdit, "", {68, 28, 154, 12}},
    {IDC_FRAME_RATE, ControlKind::Combo, "", {51, 94, 48, 55}},
    {IDC_STATIC, ControlKind::Label, "frame rate", {13, 95, 32, 8}},
    {IDC_LOG, ControlKind::LogPane, "", {110, 63, 112, 45}},
    {IDC_STATIC, ControlKind::Label, "supports srt=>ssa, srt=>srt and ssa=>srt", {70, 48, 124, 8}},
    {IDC_JOIN_WITH_NEWLINE, ControlKind::CheckBox, "srt=>ssa newline use \\n", {13, 78, 88, 8}},
    {IDC_FIRST_SUB_HOURS, ControlKind::NumberBox, "", {89, 113, 14, 12}},
    {IDC_FIRST_SUB_MINUTES, ControlKind::NumberBox, "", {114, 113, 14, 12}},
    {IDC_FIRST_SUB_SECONDS, ControlKind::NumberBox, "", {138, 113, 14, 12}},
    {IDC_FIRST_SUB_MILLIS, ControlKind::NumberBox, "", {162, 113, 18, 12}},
    {IDC_STATIC, ControlKind::Label, ":", {106, 114, 8, 8}},
    {IDC_STATIC, ControlKind::Label, ":", {130, 114, 8, 8}},
    {IDC_STATIC, ControlKind::Label, ".", {154, 114, 8, 8}},
    {IDC_CONVERT_AS, ControlKind::PushButton, "Convert as", {9, 44, 49, 19}},
    {IDC_SHIFT_FIRST_SUB, ControlKind::CheckBox, "first sub (h:m:s.ms)", {13, 114, 73, 10}},
    {IDC_TIMING, ControlKind::PushButton, "Timing...", {184, 112, 40, 14}},
    {IDC_TRANSLATE_TAGS, ControlKind::CheckBox, "translate tags", {13, 66, 88, 8}},
};

// The timing dialog: a speed change, a shift, a sync to one or two points.
inline constexpr DialogUnits kTimingDialogUnits{0, 0, 188, 136};
inline constexpr char kTimingDialogCaption[] = "Timing";

inline constexpr ControlLayout kTimingDialogControls[] = {
    {IDC_RETIME, ControlKind::CheckBox, "change speed", {8, 9, 58, 10}},
    {IDC_RETIME_FROM, ControlKind::Combo, "", {70, 7, 42, 80}},
    {IDC_STATIC, ControlKind::Label, "=>", {116, 9, 10, 8}},
    {IDC_RETIME_TO, ControlKind::Combo, "", {128, 7, 42, 80}},
    {IDC_SHIFT, ControlKind::CheckBox, "shift by", {8, 29, 58, 10}},
    {IDC_SHIFT_SIGN, ControlKind::Combo, "", {70, 27, 22, 40}},
    {IDC_SHIFT_HOURS, ControlKind::NumberBox, "", {96, 27, 14, 12}},
    {IDC_SHIFT_MINUTES, ControlKind::NumberBox, "", {116, 27, 14, 12}},
    {IDC_SHIFT_SECONDS, ControlKind::NumberBox, "", {136, 27, 14, 12}},
    {IDC_SHIFT_MILLIS, ControlKind::NumberBox, "", {156, 27, 18, 12}},
    {IDC_STATIC, ControlKind::Label, ":", {111, 29, 4, 8}},
    {IDC_STATIC, ControlKind::Label, ":", {131, 29, 4, 8}},
    {IDC_STATIC, ControlKind::Label, ".", {151, 29, 4, 8}},
    {IDC_STATIC, ControlKind::Label, "from", {20, 47, 18, 8}},
    {IDC_SHIFT_FROM, ControlKind::TextEdit, "", {40, 45, 50, 12}},
    {IDC_STATIC, ControlKind::Label, "until", {98, 47, 18, 8}},
    {IDC_SHIFT_UNTIL, ControlKind::TextEdit, "", {120, 45, 54, 12}},
    {IDC_SYNC, ControlKind::CheckBox, "two points (h:m:s.ms, or #n for subtitle n)", {8, 67, 170, 10}},
    {IDC_SYNC_A, ControlKind::TextEdit, "", {20, 81, 64, 12}},
    {IDC_STATIC, ControlKind::Label, "=>", {90, 83, 10, 8}},
    {IDC_SYNC_B, ControlKind::TextEdit, "", {104, 81, 64, 12}},
    {IDC_SYNC_C, ControlKind::TextEdit, "", {20, 97, 64, 12}},
    {IDC_STATIC, ControlKind::Label, "=>", {90, 99, 10, 8}},
    {IDC_SYNC_D, ControlKind::TextEdit, "", {104, 97, 64, 12}},
    {IDC_TIMING_OK, ControlKind::PushButton, "OK", {44, 116, 48, 14}},
    {IDC_TIMING_CANCEL, ControlKind::PushButton, "Cancel", {98, 116, 48, 14}},
};
