// The report sink's two operations called with printf-style arguments.
#include "report_sink.h"

void sinkLog(const ReportSink& sink, const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    sink.appendLog(sink.context, format, args);
    va_end(args);
}

void sinkMessage(const ReportSink& sink, const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    sink.showMessage(sink.context, format, args);
    va_end(args);
}
