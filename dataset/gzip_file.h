#pragma once
// A gzip-compressed file written under a name no engine reads (dot-prefixed, in the destination's
// folder) and renamed into place only once complete: a killed writer never leaves a torn file behind.
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

struct z_stream_s;

namespace lexorant {

class GzipFile {
public:
    explicit GzipFile(std::filesystem::path target);
    // Removes the temporary unless Commit put it under its name.
    ~GzipFile();
    GzipFile(const GzipFile&) = delete;
    GzipFile& operator=(const GzipFile&) = delete;

    // Compresses text on; false once anything failed (the reason in Error()).
    bool Write(std::string_view text);
    // Ends the stream, closes the file and renames it to the target.
    bool Commit();
    const std::string& Error() const { return error_; }

private:
    bool Deflate(int flush);
    bool Fail(const std::string& what);

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    int fd_ = -1;
    z_stream_s* stream_ = nullptr;
    std::vector<unsigned char> out_;
    std::string error_;
};

// Whether a name in the dataset is a temporary of a writer (dot-prefixed, as no engine reads it).
bool IsWriterTemporary(const std::filesystem::path& path);

} // namespace lexorant
