#pragma once
// A fresh folder per test, and (on Linux) a drive "O:" linked to it through the device folder.
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace lexorant::testing {

class TempFolder {
public:
    TempFolder() {
        static std::atomic<unsigned> counter{0};
        const auto salt = std::chrono::steady_clock::now().time_since_epoch().count();
        for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
            auto candidate = std::filesystem::temp_directory_path() /
                             ("lexorant-file-" + std::to_string(salt) + "-" + std::to_string(counter++));
            if (std::filesystem::create_directory(candidate))
                path_ = candidate;
        }
        if (path_.empty())
            throw std::runtime_error("no temporary folder");
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

#ifndef _WIN32
// Points XDG_CONFIG_HOME at a private device folder whose "o:" links to driveRoot (or that has no
// drive "O:" at all); the previous value is back once the object is gone.
class DriveO {
public:
    explicit DriveO(const std::optional<std::filesystem::path>& driveRoot) {
        if (const char* old = std::getenv("XDG_CONFIG_HOME"))
            old_ = old;
        const auto devices = config_.path() / "brenno-lexorant" / "dosdevices";
        std::filesystem::create_directories(devices);
        if (driveRoot)
            std::filesystem::create_directory_symlink(*driveRoot, devices / "o:");
        ::setenv("XDG_CONFIG_HOME", config_.path().c_str(), 1);
    }
    ~DriveO() {
        if (old_)
            ::setenv("XDG_CONFIG_HOME", old_->c_str(), 1);
        else
            ::unsetenv("XDG_CONFIG_HOME");
    }
    DriveO(const DriveO&) = delete;
    DriveO& operator=(const DriveO&) = delete;

private:
    TempFolder config_;
    std::optional<std::string> old_;
};
#endif

inline std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

} // namespace lexorant::testing
