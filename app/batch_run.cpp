// A batch's files converted by a few threads, each taking the next file not
// yet started; the main thread reports them in input order as they come in,
// draws the progress line and, once the batch is stopped, lets the runs in
// flight end (their outputs abandoned) before it counts what was not reached.
#include "batch_run.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <map>
#include <mutex>
#include <string_view>
#include <thread>
#include <unordered_set>

#include "batch_report.h"
#include "command_system.h"
#include "conversion_run.h"
#include "output_file.h"
#include "progress.h"
#include "run_lines.h"
#include "system_calls.h"

namespace {

std::atomic<int> stopSignal{0};

// The folders made for outputs under an output folder, one thread at a time;
// those a batch made and left empty (all their files failed) go at its end.
struct FolderMaker {
    std::mutex mutex;
    std::unordered_set<std::string> known;
    std::vector<std::string> made;
};

// Makes the folder and those above it that are missing; 0, or the system's
// error number with the folder that could not be made in `failed`. A dry
// run makes none: it finds whether each could be made.
int makeFolders(FolderMaker& maker, const std::string& folder, bool dryRun, std::string& failed) {
    if (maker.known.count(folder)) return 0;
    if (!isFolder(folder)) {
        const std::string parent = folderOf(folder);
        if (parent != folder)
            if (const int error = makeFolders(maker, parent, dryRun, failed)) return error;
        int error = 0;
        if (!dryRun) {
            error = makeFolder(folder);
            if (error == 0) maker.made.push_back(folder);
        } else if (pathExists(folder.c_str())) {
            error = EEXIST;
        } else {
            error = creatableIn(folderOf(folder).c_str());
        }
        if (error != 0 && (dryRun || !isFolder(folder))) {
            failed = folder;
            return error;
        }
    }
    maker.known.insert(folder);
    return 0;
}

void removeFoldersLeftEmpty(FolderMaker& maker) {
    for (auto folder = maker.made.rbegin(); folder != maker.made.rend(); ++folder) removeEmptyFolder(*folder);
}

enum class SrtLines { unknown, timing, frames };

bool isDigitAt(std::string_view line, std::size_t i) { return i < line.size() && line[i] >= '0' && line[i] <= '9'; }

// "{N}" at i, N of any width and maybe negative; where it ends, or 0.
std::size_t frameNumberEnd(std::string_view line, std::size_t i) {
    if (i >= line.size() || line[i] != '{') return 0;
    if (++i < line.size() && line[i] == '-') ++i;
    if (!isDigitAt(line, i)) return 0;
    while (isDigitAt(line, i)) ++i;
    return i < line.size() && line[i] == '}' ? i + 1 : 0;
}

SrtLines lineKind(std::string_view line) {
    std::size_t i = 0;  // past blanks and a byte-order mark
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || static_cast<unsigned char>(line[i]) >= 0x80)) ++i;
    const std::size_t first = frameNumberEnd(line, i);
    if (first && frameNumberEnd(line, first)) return SrtLines::frames;
    std::size_t arrow = line.find("->");
    if (arrow == std::string_view::npos) arrow = line.find("- >");
    if (arrow == std::string_view::npos) return SrtLines::unknown;
    const std::string_view before = line.substr(0, arrow);
    const bool time = before.find(':') != std::string_view::npos &&
                      before.find_first_of("0123456789") != std::string_view::npos;
    return time ? SrtLines::timing : SrtLines::unknown;
}

// The kind of lines of an SRT file, told by its first timing or frame line in
// its first 64 KiB; zero bytes (of UTF-16 or UTF-32) are passed over. Where
// this cannot tell, the run's own reading decides.
SrtLines srtLinesOf(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return SrtLines::unknown;
    std::string text(65536, '\0');
    text.resize(std::fread(text.data(), 1, text.size(), file));
    std::fclose(file);
    text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const SrtLines kind = lineKind(std::string_view(text).substr(start, end - start));
        if (kind != SrtLines::unknown) return kind;
        start = end + 1;
    }
    return SrtLines::unknown;
}

// Why --to frames or --to timing leaves a file as it is, or null.
const char* alreadyConverted(const std::string& input, Direction direction) {
    if (direction != Direction::toFrames && direction != Direction::toTiming) return nullptr;
    const SrtLines lines = srtLinesOf(input);
    if (direction == Direction::toFrames && lines == SrtLines::frames) return "already frame lines";
    if (direction == Direction::toTiming && lines == SrtLines::timing) return "already timing lines";
    return nullptr;
}

FileResult resultOf(const RunReport& report, const ConversionSettings& settings) {
    FileResult result;
    result.subs = report.subs;
    result.notConverted = report.notConverted;
    if (report.completed()) {
        result.status = FileStatus::converted;
        result.note = declaredRateNote(settings, report);
    } else if (report.failure == RunFailure::cannotWrite && stopSignal.load() != 0) {
        result.status = FileStatus::notReached;  // abandoned by the stop
    } else {
        result.reason = batchFailure(report, settings);
    }
    return result;
}

FileResult convertItem(const BatchItem& item, const CommandLine& line, FolderMaker& folders) {
    FileResult result;
    if (!item.refusal.empty()) {
        result.status = item.refusedAs;
        result.reason = item.refusal;
        return result;
    }
    if (const char* already = alreadyConverted(item.input, line.direction)) {
        result.status = FileStatus::skipped;
        result.reason = already;
        return result;
    }
    ConversionSettings settings = line.settings;
    settings.inputPath = item.input;
    settings.outputPath = item.output;
    settings.dryRun = line.dryRun;
    if (!line.outputFolder.empty()) {
        std::string failed;
        const std::lock_guard<std::mutex> lock(folders.mutex);
        if (const int error = makeFolders(folders, folderOf(item.output), line.dryRun, failed)) {
            result.reason = "cannot create the folder " + failed + ": " + errorText(error);
            return result;
        }
    }
    return resultOf(runConversion(settings), settings);
}

// The batch's state beside its plan, which every thread reads and none
// changes: the next item to take, and the items finished and not yet reported.
struct Batch {
    explicit Batch(const CommandLine& theLine) : line(theLine) {}
    const CommandLine& line;
    BatchPlan plan;
    FolderMaker folders;
    std::atomic<std::size_t> next{0};  // the first item no worker has taken
    std::mutex mutex;  // over all below
    std::condition_variable finished;
    // Finished and not yet reported, by their place in the batch.
    std::map<std::size_t, std::pair<BatchItem, FileResult>> results;
    std::string current;  // the file started last
};

// The next item for a worker; false when there is none or the batch stops.
bool takeItem(Batch& batch, std::size_t& index, BatchItem& item) {
    if (stopSignal.load() != 0) return false;
    index = batch.next.fetch_add(1);
    if (index >= batch.plan.entries.size()) return false;
    item = batchItem(batch.plan, index);
    const std::lock_guard<std::mutex> lock(batch.mutex);
    batch.current = item.input;
    return true;
}

void work(Batch& batch) {
    std::size_t index = 0;
    BatchItem item;
    while (takeItem(batch, index, item)) {
        const auto start = std::chrono::steady_clock::now();
        FileResult result = convertItem(item, batch.line, batch.folders);
        result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        {
            const std::lock_guard<std::mutex> lock(batch.mutex);
            batch.results.emplace(index, std::make_pair(std::move(item), std::move(result)));
        }
        batch.finished.notify_one();
    }
}

// The workers never take a stop signal: the main thread does.
std::vector<std::thread> startWorkers(Batch& batch) {
    int jobs = batch.line.jobs;
    if (jobs == 0) jobs = std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, kMostJobs);
    // One at least, which finds that there is nothing to do.
    jobs = static_cast<int>(std::clamp<std::size_t>(batch.plan.entries.size(), 1, static_cast<std::size_t>(jobs)));
    std::vector<std::thread> workers;
    holdStopSignals();
    for (int i = 0; i < jobs; ++i) workers.emplace_back(work, std::ref(batch));
    releaseStopSignals();
    return workers;
}

// What a batch ended by a closed pipe exits with, as if SIGPIPE had ended it
// (128 + 13): the reader of its lines is gone.
constexpr int kClosedPipe = 13;

// Reports the items from `reported` on that have finished, in order; with the
// lock held on entry and on return. A closed pipe stops the batch as Ctrl+C
// does: the outputs being written are abandoned.
void reportReady(Batch& batch, std::unique_lock<std::mutex>& lock, std::size_t& reported,
                 const ReportStyle& style, BatchTotals& totals, Progress& progress) {
    std::vector<std::pair<BatchItem, FileResult>> ready;
    for (auto found = batch.results.find(reported); found != batch.results.end();
         found = batch.results.find(reported + ready.size())) {
        ready.push_back(std::move(found->second));
        batch.results.erase(found);
    }
    const std::string current = batch.current;
    lock.unlock();
    if (!ready.empty()) clearProgress(progress);
    for (const auto& [item, result] : ready)
        if (reportFile(item, result, style, totals) == EPIPE && requestBatchStop(kClosedPipe)) abandonOutputs();
    reported += ready.size();
    drawProgress(progress, reported, batch.plan.entries.size(), current);
    lock.lock();
}

// Reports the items in order as they finish, until all are reported or the
// batch is stopped; returns how many were reported.
std::size_t reportInOrder(Batch& batch, const ReportStyle& style, BatchTotals& totals, Progress& progress) {
    std::size_t reported = 0;
    std::unique_lock<std::mutex> lock(batch.mutex);
    while (stopSignal.load() == 0 && reported < batch.plan.entries.size()) {
        batch.finished.wait_for(lock, std::chrono::milliseconds(100),
                                [&] { return batch.results.count(reported) || stopSignal.load() != 0; });
        reportReady(batch, lock, reported, style, totals, progress);
    }
    return reported;
}

}  // namespace

bool requestBatchStop(int signal) {
    int none = 0;
    return stopSignal.compare_exchange_strong(none, signal);
}

int runBatch(const CommandLine& line) {
    const auto start = std::chrono::steady_clock::now();
    if (!line.outputFolder.empty() && pathExists(line.outputFolder.c_str()) && !isFolder(line.outputFolder)) {
        std::fprintf(stderr, "marliva-convert: %s is not a folder (-o names the folder of the outputs)\n",
                     line.outputFolder.c_str());
        return 1;
    }
    ignoreClosedPipes();
    Batch batch(line);
    planBatch(batch.plan, line);
    const ReportStyle style{line.json, line.dryRun};
    BatchTotals totals;
    Progress progress;
    startProgress(progress, !line.json);
    std::vector<std::thread> workers = startWorkers(batch);
    std::size_t reported = reportInOrder(batch, style, totals, progress);
    for (std::thread& worker : workers) worker.join();
    // After a stop: what finished is reported, the rest was not reached.
    std::unique_lock<std::mutex> lock(batch.mutex);
    reportReady(batch, lock, reported, style, totals, progress);
    clearProgress(progress);
    if (totals.files < batch.plan.files) {
        totals.notReached += batch.plan.files - totals.files;
        totals.files = batch.plan.files;
    }
    removeFoldersLeftEmpty(batch.folders);
    totals.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    reportTotals(totals, style);
    if (const int signal = stopSignal.load()) return 128 + signal;
    return totals.converted == totals.files && totals.foldersNotRead == 0 ? 0 : 1;
}
