#include "dataset/export_manifest.h"

#include "platform/temporary_file.h"

#include <charconv>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <system_error>
#include <vector>

namespace lexorant {

namespace {

constexpr std::string_view kFirstLine = "lexorant-export-manifest 1";

// A path may hold any byte but the tab and line ends that frame the fields: those and '%' as %XX.
std::string Escape(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '%' || c == '\t' || c == '\n' || c == '\r') {
            static constexpr char kHex[] = "0123456789ABCDEF";
            out += '%';
            out += kHex[static_cast<unsigned char>(c) >> 4];
            out += kHex[static_cast<unsigned char>(c) & 0xF];
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<std::string> Unescape(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        unsigned value = 0;
        if (i + 2 >= text.size())
            return std::nullopt;
        const auto r = std::from_chars(text.data() + i + 1, text.data() + i + 3, value, 16);
        if (r.ec != std::errc() || r.ptr != text.data() + i + 3)
            return std::nullopt;
        out += static_cast<char>(value);
        i += 2;
    }
    return out;
}

template <typename T> bool ParseNumber(std::string_view text, T& value, int base = 10) {
    const auto r = std::from_chars(text.data(), text.data() + text.size(), value, base);
    return r.ec == std::errc() && r.ptr == text.data() + text.size();
}

std::vector<std::string_view> Split(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(
            line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
        if (tab == std::string_view::npos)
            return fields;
        start = tab + 1;
    }
}

} // namespace

std::optional<Manifest> LoadManifest(const std::filesystem::path& dir) {
    std::error_code error;
    const auto path = dir / kManifestName;
    if (!std::filesystem::exists(path, error) && !error)
        return Manifest{};
    std::ifstream in(path, std::ios::binary);
    std::string line;
    if (!in || !std::getline(in, line) || line != kFirstLine)
        return std::nullopt;
    Manifest manifest;
    while (std::getline(in, line)) {
        const auto f = Split(line);
        if (f.size() != 8)
            return std::nullopt;
        ManifestEntry e;
        const auto key = Unescape(f[0]);
        const auto serial = Unescape(f[4]);
        const auto readOut = Unescape(f[7]);
        if (!key || !serial || !readOut || !ParseNumber(f[1], e.size) || !ParseNumber(f[2], e.modified) ||
            !ParseNumber(f[3], e.hash, 16) || f[5].empty() || f[5].find('/') != std::string_view::npos)
            return std::nullopt;
        e.serial = *serial;
        e.stem = std::string(f[5]);
        e.gTable = f[6].find('G') != std::string_view::npos;
        e.xTable = f[6].find('X') != std::string_view::npos;
        e.readOut = *readOut;
        manifest[*key] = std::move(e);
    }
    return manifest;
}

bool SaveManifest(const std::filesystem::path& dir, const Manifest& manifest) {
    std::ostringstream out;
    out << kFirstLine << '\n';
    for (const auto& [key, e] : manifest) {
        char hash[9];
        std::snprintf(hash, sizeof hash, "%08x", e.hash);
        out << Escape(key) << '\t' << e.size << '\t' << e.modified << '\t' << hash << '\t' << Escape(e.serial)
            << '\t' << e.stem << '\t' << (e.gTable ? "G" : "") << (e.xTable ? "X" : "")
            << (e.gTable || e.xTable ? "" : "-") << '\t' << Escape(e.readOut) << '\n';
    }
    const std::string text = out.str();
    TemporaryFile file(dir, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    return file.Ready() && file.ReplaceAs(dir / kManifestName);
}

} // namespace lexorant
