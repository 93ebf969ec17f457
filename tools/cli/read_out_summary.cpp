#include "tools/cli/read_out_summary.h"

#include "file/read_out_file.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <system_error>
#include <thread>

namespace lexorant::cli {

namespace {

namespace fs = std::filesystem;

bool HasInfSuffix(const fs::path& path) {
    std::string ext = path.extension().string();
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext == ".inf";
}

void DescribeFile(const MessageTally& tally, ReadOutLine& line) {
    for (const MessageRow& row : tally.Rows()) {
        WidenSpan(line.first, line.last, row.first, row.last);
        if (row.kind != MessageKind::Fault)
            continue;
        line.faults += row.Total();
        if (row.Total() > line.topFaultCount ||
            (row.Total() == line.topFaultCount && row.code < line.topFault)) {
            line.topFault = row.code;
            line.topFaultCount = row.Total();
        }
    }
}

// Every "*.inf" below the folder. Whatever is named so and is no folder is the loader's to judge, as a
// file named on the command line is: a dangling link or an unreadable file is then reported. A folder
// that cannot be listed (no permission, a network drive gone) is handed on as well, so that it is
// reported as unreadable instead of counting as empty. Links to folders are not followed: no loops.
void CollectInfFiles(const fs::path& folder, std::vector<std::string>& found) {
    std::error_code error;
    fs::directory_iterator it(folder, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        std::error_code kindError;
        if (it->is_directory(kindError) && !it->is_symlink(kindError))
            CollectInfFiles(it->path(), found);
        else if (HasInfSuffix(it->path()) && !it->is_directory(kindError))
            found.push_back(it->path().string());
    }
    if (error)
        found.push_back(folder.string());
}

} // namespace

std::vector<std::string> ReadOutFiles(const std::vector<std::string>& paths) {
    std::vector<std::string> files;
    for (const std::string& path : paths) {
        std::error_code error;
        if (!fs::is_directory(path, error)) {
            files.push_back(path);
            continue;
        }
        std::vector<std::string> found;
        CollectInfFiles(path, found);
        std::sort(found.begin(), found.end());
        files.insert(files.end(), found.begin(), found.end());
    }
    return files;
}

ReadOutSummary SummariseReadOuts(const std::vector<std::string>& files, bool perFile, unsigned workers) {
    ReadOutSummary summary;
    summary.files.resize(files.size());
    workers = std::max(1u, std::min<unsigned>(workers, static_cast<unsigned>(files.size())));
    std::vector<MessageTally> totals(workers);
    std::atomic<std::size_t> next{0};
    auto work = [&](MessageTally& total) {
        MessageTally one; // reused: cleared per file, in proportion to its rows
        for (std::size_t i; (i = next.fetch_add(1, std::memory_order_relaxed)) < files.size();) {
            ReadOutLine& line = summary.files[i];
            const auto load = LoadReadOut(files[i]);
            line.readable = load.has_value();
            if (!load)
                continue;
            one.Clear();
            // Every entry the loader gives, as the grids and the window's overview show them (a
            // damaged file's missing bytes read as zero); of a kept read-out only the entries read.
            TallyMessages(*load, one);
            total.Merge(one);
            if (!perFile)
                continue;
            line.file = files[i];
            line.serial = load->serial;
            line.damaged = load->damaged;
            line.partial = load->partial;
            line.gInfo = load->in.Count(InfoBlock::GInfo);
            line.xInfo = load->in.Count(InfoBlock::XInfo);
            DescribeFile(one, line);
        }
    };
    std::vector<std::thread> threads;
    for (unsigned w = 1; w < workers; ++w)
        threads.emplace_back(work, std::ref(totals[w]));
    work(totals[0]);
    for (std::thread& t : threads)
        t.join();
    for (const MessageTally& total : totals)
        summary.messages.Merge(total);
    return summary;
}

std::vector<MessageRow> RowsByFrequency(const MessageTally& tally) {
    std::vector<MessageRow> rows = tally.Rows();
    std::sort(rows.begin(), rows.end(), [](const MessageRow& a, const MessageRow& b) {
        return a.Total() != b.Total() ? a.Total() > b.Total() : a.code < b.code;
    });
    return rows;
}

} // namespace lexorant::cli
