#include "file/kept_read_out.h"

#include "file/bounded_read.h"
#include "file/file_naming.h"
#include "file/info_file_format.h"
#include "platform/append_file.h"
#include "platform/regular_file.h"
#include "platform/state_folder.h"

#include <array>
#include <chrono>
#include <cstring>
#include <system_error>
#include <vector>

namespace lexorant {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kSignature = "LEXORANT-PARTIAL";
constexpr std::uint16_t kVersion = 1;
constexpr std::size_t kChecksumSize = 4;
constexpr std::size_t kRecordHead = 3; // block letter, 16-bit index; or 'W', 16-bit length of the name
constexpr char kWrittenLetter = 'W';
// A full unit is about 8.3 MB; nothing a read writes comes near this.
constexpr std::size_t kLargestFile = 64 * 1024 * 1024;
// How long a write may wait before it is put on the disk.
constexpr std::chrono::milliseconds kSyncInterval{500};

// CRC-32 (IEEE 802.3): catches a record that a crash cut short or left half-written.
constexpr std::array<std::uint32_t, 256> MakeCrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i;
        for (int k = 0; k < 8; ++k)
            c = (c & 1u) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[i] = c;
    }
    return table;
}
constexpr auto kCrcTable = MakeCrcTable();

std::uint32_t Crc32(std::string_view bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const char c : bytes)
        crc = kCrcTable[(crc ^ static_cast<std::uint8_t>(c)) & 0xFFu] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

void PutU16(std::string& out, std::uint16_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}

void PutU32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::uint32_t U32At(std::string_view bytes, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | static_cast<std::uint8_t>(bytes[at + static_cast<std::size_t>(i)]);
    return v;
}

std::uint16_t U16At(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(bytes[at]) |
                                      (static_cast<std::uint8_t>(bytes[at + 1]) << 8));
}

std::span<const std::uint8_t> Bytes(const std::string& s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

// The whole file, up to limit bytes; nothing when it cannot be read or is no regular file.
std::optional<std::vector<std::uint8_t>> ReadWhole(const fs::path& path, std::size_t limit = kLargestFile) {
    RegularFileReader file(path);
    std::vector<std::uint8_t> bytes;
    if (!file.IsOpen() || !ReadOnUpTo(file, limit, bytes))
        return std::nullopt;
    return bytes;
}

std::string_view Text(const std::vector<std::uint8_t>& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// The name kept read-outs had before they were named as the ".inf" files are: letters, digits and a
// few marks for themselves, every other byte (a leading dot included) as %XX. Still looked for, so
// that a read kept under it is continued.
std::string EscapedFileNameOfSerial(const std::string& serial) {
    if (serial.empty())
        return "%";
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string name;
    for (std::size_t i = 0; i < serial.size(); ++i) {
        const auto c = static_cast<unsigned char>(serial[i]);
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           c == '-' || c == '_' || (c == '.' && i > 0) || c == '+' || c == ' ';
        if (plain) {
            name += static_cast<char>(c);
        } else {
            name += '%';
            name += kHex[c >> 4];
            name += kHex[c & 15];
        }
    }
    if (name.back() == ' ' || name.back() == '.')
        name.replace(name.size() - 1, 1, name.back() == ' ' ? "%20" : "%2E");
    std::string upper = name;
    for (char& c : upper)
        c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    const bool numbered = upper.size() == 4 && (upper.starts_with("COM") || upper.starts_with("LPT")) &&
                          upper[3] >= '0' && upper[3] <= '9';
    if (numbered || upper == "CON" || upper == "PRN" || upper == "AUX" || upper == "NUL")
        name.replace(0, 1,
                     std::string("%") + kHex[static_cast<unsigned char>(name[0]) >> 4] +
                         kHex[static_cast<unsigned char>(name[0]) & 15]);
    return name;
}

struct KeptHead {
    std::string serial;
    InfoHeader g, x;
    std::size_t end = 0; // the first byte after the head's checksum
};

std::optional<KeptHead> DecodeKeptHead(std::span<const std::uint8_t> raw) {
    const std::string_view bytes{reinterpret_cast<const char*>(raw.data()), raw.size()};
    if (!bytes.starts_with(kSignature))
        return std::nullopt;
    std::size_t at = kSignature.size();
    if (bytes.size() < at + 4 || U16At(bytes, at) != kVersion)
        return std::nullopt;
    const std::size_t serialSize = U16At(bytes, at + 2);
    at += 4;
    const std::size_t headEnd = at + serialSize + kInfoFileHeaderSize;
    if (bytes.size() < headEnd + kChecksumSize || Crc32(bytes.substr(0, headEnd)) != U32At(bytes, headEnd))
        return std::nullopt;
    KeptHead head;
    head.serial = std::string(bytes.substr(at, serialSize));
    DecodeInfoHeaders(raw.subspan(at + serialSize, kInfoFileHeaderSize), head.g, head.x);
    head.end = headEnd + kChecksumSize;
    return head;
}

// The serial number a kept read-out at path is of; nothing when there is none there (or its head is
// damaged, so that it is no one's).
std::optional<std::string> KeptSerialAt(const fs::path& path) {
    constexpr std::size_t kLongestHead = kSignature.size() + 4 + 0xFFFF + kInfoFileHeaderSize + kChecksumSize;
    const auto read = ReadWhole(path, kLongestHead);
    if (!read)
        return std::nullopt;
    auto head = DecodeKeptHead(*read);
    return head ? std::optional(std::move(head->serial)) : std::nullopt;
}

} // namespace

std::string EncodeKeptHead(const std::string& serial, const InfoHeader& g, const InfoHeader& x) {
    std::string head(kSignature);
    PutU16(head, kVersion);
    PutU16(head, static_cast<std::uint16_t>(std::min<std::size_t>(serial.size(), 0xFFFF)));
    head.append(serial, 0, std::min<std::size_t>(serial.size(), 0xFFFF));
    const auto headers = EncodeInfoHeaders(g, x);
    head.append(headers.begin(), headers.end());
    PutU32(head, Crc32(head));
    return head;
}

std::string EncodeKeptRecord(EntryRef entry, std::span<const std::uint8_t> slot) {
    std::string record;
    record.reserve(kRecordHead + slot.size() + kChecksumSize);
    record += LetterOf(entry.block);
    PutU16(record, entry.index);
    record.append(reinterpret_cast<const char*>(slot.data()), slot.size());
    PutU32(record, Crc32(record));
    return record;
}

std::string EncodeWrittenRecord(const std::string& name) {
    std::string record(1, kWrittenLetter);
    const std::size_t size = std::min<std::size_t>(name.size(), 0xFFFF);
    PutU16(record, static_cast<std::uint16_t>(size));
    record.append(name, 0, size);
    PutU32(record, Crc32(record));
    return record;
}

std::optional<fs::path> KeptReadOutFolder() {
    return ProgramStateFolder();
}

bool LeadsToKeptReadOut(const fs::path& path) {
    if (IsKeptReadOutFile(path))
        return true;
    // A dangling link, or one into the state folder whose kept read-out is not yet there.
    std::error_code ec;
    fs::path leads = path;
    for (int hop = 0; hop < 40 && fs::is_symlink(fs::symlink_status(leads, ec)); ++hop) {
        const fs::path to = fs::read_symlink(leads, ec);
        if (ec)
            break;
        leads = to.is_absolute() ? to : leads.parent_path() / to;
    }
    const auto folder = KeptReadOutFolder();
    if (!folder || leads.extension() != kKeptReadOutSuffix)
        return false;
    const fs::path parent = fs::weakly_canonical(fs::absolute(leads, ec).parent_path(), ec);
    return !ec && (parent == fs::weakly_canonical(*folder, ec) || fs::equivalent(parent, *folder, ec));
}

std::optional<fs::path> KeptReadOutPath(const std::string& serial) {
    const auto folder = KeptReadOutFolder();
    if (!folder)
        return std::nullopt;
    const std::string suffix(kKeptReadOutSuffix);
    const fs::path named = *folder / (FileNameSafeSerial(serial) + suffix);
    const fs::path earlier = *folder / (EscapedFileNameOfSerial(serial) + suffix);
    // A read kept under the earlier name goes on under it.
    return KeptSerialAt(earlier) == serial ? earlier : named;
}

bool IsKeptReadOutFile(const fs::path& path) {
    const auto start = ReadWhole(path, kSignature.size());
    return start && Text(*start) == kSignature;
}

std::optional<KeptReadOut> LoadKeptReadOut(const fs::path& path) {
    const auto read = ReadWhole(path);
    const auto head = read ? DecodeKeptHead(*read) : std::nullopt;
    if (!head)
        return std::nullopt;
    const std::string_view bytes = Text(*read);

    KeptReadOut kept;
    kept.path = path;
    kept.serial = head->serial;
    kept.store.Replace(head->g, head->x);
    kept.in = EntrySet(head->g, head->x);

    std::size_t at = head->end;
    while (at + kRecordHead <= bytes.size()) {
        const char letter = bytes[at];
        if (letter == kWrittenLetter) {
            const std::size_t size = kRecordHead + U16At(bytes, at + 1) + kChecksumSize;
            if (at + size > bytes.size() ||
                Crc32(bytes.substr(at, size - kChecksumSize)) != U32At(bytes, at + size - kChecksumSize))
                break;
            kept.writtenTo = std::string(bytes.substr(at + kRecordHead, size - kRecordHead - kChecksumSize));
            at += size;
            continue;
        }
        if (letter != 'G' && letter != 'X')
            break;
        const EntryRef entry{BlockOfLetter(letter), U16At(bytes, at + 1)};
        const std::size_t slotSize = SlotSizeOf(entry.block);
        const std::size_t size = kRecordHead + slotSize + kChecksumSize;
        const std::size_t count = HeaderOf(kept.store, entry.block).EntryCount;
        if (at + size > bytes.size() || entry.index >= count ||
            Crc32(bytes.substr(at, size - kChecksumSize)) != U32At(bytes, at + size - kChecksumSize))
            break;
        std::memcpy(SlotOf(kept.store, entry), bytes.data() + at + kRecordHead, slotSize);
        kept.in.Add(entry);
        at += size;
    }
    kept.wholeBytes = at;
    return kept;
}

// ---- writer -----------------------------------------------------------------------------------

std::unique_ptr<KeptReadOutWriter> KeptReadOutWriter::Begin(const fs::path& path, const std::string& serial,
                                                            const InfoHeader& g, const InfoHeader& x,
                                                            std::string& error) {
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    auto file = std::make_unique<AppendFile>();
    if (!file->Create(path, error)) {
        error = path.string() + ": " + error;
        return nullptr;
    }
    if (!file->Append(Bytes(EncodeKeptHead(serial, g, x))) || !file->Sync()) {
        error = "cannot write " + path.string();
        return nullptr;
    }
    return std::unique_ptr<KeptReadOutWriter>(new KeptReadOutWriter(path, std::move(file)));
}

std::unique_ptr<KeptReadOutWriter> KeptReadOutWriter::Resume(const KeptReadOut& kept, std::string& error) {
    auto file = std::make_unique<AppendFile>();
    if (!file->OpenKeeping(kept.path, kept.wholeBytes, error))
        return nullptr;
    return std::unique_ptr<KeptReadOutWriter>(new KeptReadOutWriter(kept.path, std::move(file)));
}

KeptReadOutWriter::KeptReadOutWriter(fs::path path, std::unique_ptr<AppendFile> file)
    : path_(std::move(path)), file_(std::move(file)), syncer_(&KeptReadOutWriter::SyncNowAndThen, this) {}

KeptReadOutWriter::~KeptReadOutWriter() {
    Stop();
    if (file_->IsOpen())
        file_->Sync();
}

void KeptReadOutWriter::Stop() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (syncer_.joinable())
        syncer_.join();
}

void KeptReadOutWriter::SyncNowAndThen() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        wake_.wait_for(lock, kSyncInterval, [this] { return stopping_; });
        if (unsynced_.exchange(false)) {
            lock.unlock();
            file_->Sync();
            lock.lock();
        }
    }
}

void KeptReadOutWriter::Keep(EntryRef entry, std::span<const std::uint8_t> slot) {
    // After a failed write the file may end in part of a record: nothing appended behind it would load.
    if (failed_ || !file_->IsOpen())
        return;
    if (!file_->Append(
            Bytes(EncodeKeptRecord(entry, slot.first(std::min(slot.size(), SlotSizeOf(entry.block))))))) {
        failed_ = true;
        const std::string error = "Unable to keep the entries read in " + path_.string() + " from " +
                                  std::string(1, LetterOf(entry.block)) + "-Info " +
                                  std::to_string(entry.index + 1) + " on: those before it are kept";
        {
            std::lock_guard lock(mutex_);
            error_ = error;
        }
        if (tellFailure_)
            tellFailure_(error);
        return;
    }
    unsynced_.store(true, std::memory_order_release);
}

bool KeptReadOutWriter::MarkWritten(const std::string& name) {
    if (failed_ || !file_->IsOpen() || !file_->Append(Bytes(EncodeWrittenRecord(name))))
        return false;
    return file_->Sync();
}

void KeptReadOutWriter::Completed() {
    Stop();
    file_->Close();
    std::error_code ec;
    fs::remove(path_, ec);
}

std::string KeptReadOutWriter::Error() const {
    std::lock_guard lock(mutex_);
    return error_;
}

} // namespace lexorant
