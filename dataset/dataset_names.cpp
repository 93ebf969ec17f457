#include "dataset/dataset_names.h"

#include <cstdint>

namespace lexorant {

namespace {

std::string Escaped(const std::string& text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if ((u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || c == '-' ||
            c == '_') {
            out += c;
        } else {
            out += '%';
            out += kHex[u >> 4];
            out += kHex[u & 0xF];
        }
    }
    return out;
}

// FNV-1a, 64 bits: enough to tell the paths of one archive apart, and the same on every run.
std::uint64_t PathHash(const std::string& text) {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ull;
    }
    return hash;
}

} // namespace

std::string SerialPartition(const std::string& serial) {
    return serial.empty() ? "unknown" : Escaped(serial);
}

std::string ReadOutStem(const std::string& absolutePath) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string stem = Escaped(std::filesystem::path(absolutePath).stem().string());
    stem += '-';
    const std::uint64_t hash = PathHash(absolutePath);
    for (int shift = 60; shift >= 0; shift -= 4)
        stem += kHex[(hash >> shift) & 0xF];
    return stem;
}

std::filesystem::path BlockTablePath(const std::filesystem::path& dir, const char* table,
                                     const std::string& serial, const std::string& stem) {
    return dir / table / ("serial=" + SerialPartition(serial)) / (stem + kTableSuffix);
}

std::filesystem::path ReadOutTablePath(const std::filesystem::path& dir, const std::string& stem) {
    return dir / kReadOutsTable / (stem + kTableSuffix);
}

} // namespace lexorant
