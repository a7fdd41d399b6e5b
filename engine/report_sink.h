// What a run says goes to a report sink: the caller's pair of operations.
#pragma once

#include <cstdarg>

// Everything a run says goes through these two operations. Each takes a
// printf-style format and its arguments and formats into 1024 bytes.
struct ReportSink {
    void (*appendLog)(void* context, const char* format, std::va_list args);
    void (*showMessage)(void* context, const char* format, std::va_list args);
    void* context;
};

#if defined(__GNUC__)
#define MARLIVA_PRINTF(fmt, first) __attribute__((format(printf, fmt, first)))
#else
#define MARLIVA_PRINTF(fmt, first)
#endif

void sinkLog(const ReportSink& sink, const char* format, ...) MARLIVA_PRINTF(2, 3);
void sinkMessage(const ReportSink& sink, const char* format, ...) MARLIVA_PRINTF(2, 3);
