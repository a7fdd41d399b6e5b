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
#include "progress.h"
#include "run_lines.h"
#include "stop_state.h"
#include "system_calls.h"

namespace {

// The folders made for outputs under an output folder, before any file is
// converted; those a batch made and left empty (all their files failed, or
// the batch stopped first) go at its end.
struct FolderMaker {
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

FileResult resultOf(const RunReport& report, const ConversionSettings& settings) {
    FileResult result;
    result.subs = report.subs;
    result.notConverted = report.notConverted;
    result.markupDropped = report.markupDropped;
    result.changed = report.changed;
    if (report.completed()) {
        result.status = FileStatus::converted;
        result.note = declaredRateNote(settings, report);
    } else if (report.failure == RunFailure::alreadyFrameLines || report.failure == RunFailure::alreadyTimingLines) {
        result.status = FileStatus::skipped;
        result.reason = batchFailure(report, settings);
    } else if (report.failure == RunFailure::cannotWrite && stopSignal() != 0) {
        result.status = FileStatus::notReached;  // abandoned by the stop
    } else {
        result.reason = batchFailure(report, settings);
    }
    return result;
}

FileResult convertItem(const BatchItem& item, const std::string& folderFailure, const CommandLine& line) {
    FileResult result;
    if (!item.refusal.empty()) {
        result.status = item.refusedAs;
        result.reason = item.refusal;
        return result;
    }
    if (!folderFailure.empty()) {
        result.reason = folderFailure;
        return result;
    }
    ConversionSettings settings = line.settings;
    settings.inputPath = item.input;
    settings.outputPath = item.output;
    settings.dryRun = line.dryRun;
    // --to frames converts timing lines, --to timing frame lines.
    if (line.direction == Direction::toFrames) settings.inputLines = SrtLines::timing;
    if (line.direction == Direction::toTiming) settings.inputLines = SrtLines::frames;
    return resultOf(runConversion(settings), settings);
}

// The batch's state beside its plan, which every thread reads and none
// changes: the next item to take, and the items finished and not yet reported.
struct Batch {
    explicit Batch(const CommandLine& theLine) : line(theLine) {}
    const CommandLine& line;
    BatchPlan plan;
    FolderMaker folders;
    // Why the folder of each item's output could not be made; empty when it was.
    std::vector<std::string> folderFailures;
    std::atomic<std::size_t> next{0};  // the first item no worker has taken
    std::mutex mutex;  // over all below
    std::condition_variable finished;
    // Finished and not yet reported, by their place in the batch.
    std::map<std::size_t, std::pair<BatchItem, FileResult>> results;
    std::string current;  // the file started last
};

// The folders of the outputs under an output folder, made (or, in a dry
// run, found makeable) before the workers start, which then only convert.
void makeOutputFolders(Batch& batch) {
    batch.folderFailures.assign(batch.plan.entries.size(), {});
    if (batch.line.outputFolder.empty()) return;
    for (std::size_t i = 0; i < batch.plan.entries.size(); ++i) {
        const BatchItem item = batchItem(batch.plan, i);
        if (!item.refusal.empty()) continue;
        std::string failed;
        if (const int error = makeFolders(batch.folders, folderOf(item.output), batch.line.dryRun, failed))
            batch.folderFailures[i] = "cannot create the folder " + failed + ": " + errorText(error);
    }
}

// The next item for a worker; false when there is none or the batch stops.
bool takeItem(Batch& batch, std::size_t& index, BatchItem& item) {
    if (stopSignal() != 0) return false;
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
        FileResult result = convertItem(item, batch.folderFailures[index], batch.line);
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
        if (reportFile(item, result, style, totals) == EPIPE) requestStop(kClosedPipe);
    reported += ready.size();
    drawProgress(progress, reported, batch.plan.entries.size(), current);
    lock.lock();
}

// Reports the items in order as they finish, until all are reported or the
// batch is stopped; returns how many were reported.
std::size_t reportInOrder(Batch& batch, const ReportStyle& style, BatchTotals& totals, Progress& progress) {
    std::size_t reported = 0;
    std::unique_lock<std::mutex> lock(batch.mutex);
    while (stopSignal() == 0 && reported < batch.plan.entries.size()) {
        batch.finished.wait_for(lock, std::chrono::milliseconds(100),
                                [&] { return batch.results.count(reported) || stopSignal() != 0; });
        reportReady(batch, lock, reported, style, totals, progress);
    }
    return reported;
}

}  // namespace

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
    makeOutputFolders(batch);
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
    if (const int signal = stopSignal()) return 128 + signal;
    return totals.converted == totals.files && totals.foldersNotRead == 0 ? 0 : 1;
}
