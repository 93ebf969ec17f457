#pragma once
// The kept read-out of a unit: what a read has received so far, on disk from the moment each entry
// arrives, so that a read that stops (the line lost, the program quit or killed, the power gone) can
// be continued instead of started anew, and can be looked at meanwhile.
//
// One file per unit serial number, "<serial>.partial" in the user's state folder: a signature, the
// serial number and both block headers, then one record per entry received (block, index, the slot's
// bytes, a checksum), appended in the order of arrival. A record cut short by a crash, or one whose
// checksum fails, ends what is loaded; everything before it counts.
#include "readout/entry_keeper.h"
#include "readout/entry_set.h"
#include "readout/record_store.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

namespace lexorant {

class AppendFile;

inline constexpr std::string_view kKeptReadOutSuffix = ".partial";

// Where kept read-outs live: the program's state folder. Nothing when the user has none.
std::optional<std::filesystem::path> KeptReadOutFolder();
// Where the kept read-out of the unit `serial` is, or is to be: "<serial>.partial" there, the serial
// made a file-name part as for the ".inf" files (FileNameSafeSerial). A read kept under the earlier
// name, in which characters a file name may not hold were written as %XX, is found under that; so is
// the read-out of a serial whose file-name part another unit's kept read-out already has.
std::optional<std::filesystem::path> KeptReadOutPath(const std::string& serial);

struct KeptReadOut {
    std::filesystem::path path;
    std::string serial;
    RecordStore store; // both headers; the slots of the entries in, all others zero
    EntrySet in;
    std::uint64_t wholeBytes = 0; // the file up to the end of its last whole record
    // The name the complete read was being written or had been written to when the program stopped
    // before removing its kept read-out: where that file holds exactly this read-out, a read that goes
    // on from here has nothing more to write.
    std::optional<std::string> writtenTo;
};

// True when the file begins with a kept read-out's signature, whatever follows.
bool IsKeptReadOutFile(const std::filesystem::path& path);

// True when writing a file at path would write over a kept read-out: path is one (whatever its
// name), or it leads, through links as well, to a "*.partial" name in the state folder.
bool LeadsToKeptReadOut(const std::filesystem::path& path);

// Nothing when the file cannot be read, is no kept read-out, or its head is damaged.
std::optional<KeptReadOut> LoadKeptReadOut(const std::filesystem::path& path);

// Keeps the entries of one read in a kept read-out. Each entry is written as it arrives, so that it
// survives the process being killed; a thread of its own puts the writes on the disk about twice a
// second, so that they survive a power cut as well, without holding up the read.
class KeptReadOutWriter final : public EntryKeeper {
public:
    // A new kept read-out at path, replacing any file there; the folder is made when missing.
    static std::unique_ptr<KeptReadOutWriter> Begin(const std::filesystem::path& path,
                                                    const std::string& serial, const InfoHeader& g,
                                                    const InfoHeader& x, std::string& error);
    // Goes on with a loaded one, after its last whole record (a torn one is cut off).
    static std::unique_ptr<KeptReadOutWriter> Resume(const KeptReadOut& kept, std::string& error);

    // Puts what was written on the disk; the file stays.
    ~KeptReadOutWriter() override;
    KeptReadOutWriter(const KeptReadOutWriter&) = delete;
    KeptReadOutWriter& operator=(const KeptReadOutWriter&) = delete;

    void Keep(EntryRef entry, std::span<const std::uint8_t> slot) override;
    // Notes on the disk that the complete read is written, or has been written, under name (the last
    // note counts), before Completed removes the file: a kill in between leaves a kept read-out that
    // knows its file, which the next read takes when it holds exactly this read-out. False when it
    // cannot.
    bool MarkWritten(const std::string& name);
    // Removes the file.
    void Completed() override;

    const std::filesystem::path& Path() const { return path_; }
    // Why entries could not be kept (the disk full, ...); empty while every one got there.
    std::string Error() const;
    // Told Error() on the thread that keeps, the moment the first entry cannot be kept: a read of
    // hours should not learn it only at its end.
    void OnFailure(std::function<void(const std::string&)> tell) { tellFailure_ = std::move(tell); }

private:
    KeptReadOutWriter(std::filesystem::path path, std::unique_ptr<AppendFile> file);
    void SyncNowAndThen();
    void Stop();

    std::filesystem::path path_;
    std::unique_ptr<AppendFile> file_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::atomic<bool> unsynced_{false};
    bool failed_ = false; // the reading thread's own
    std::string error_;
    std::function<void(const std::string&)> tellFailure_;
    std::thread syncer_;
};

// Encoded forms, for tests and tools that make or mend kept read-outs.
std::string EncodeKeptHead(const std::string& serial, const InfoHeader& g, const InfoHeader& x);
std::string EncodeKeptRecord(EntryRef entry, std::span<const std::uint8_t> slot);
std::string EncodeWrittenRecord(const std::string& name);

} // namespace lexorant
