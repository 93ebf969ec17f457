#pragma once
// A small archive of read-outs for the export tests: simulated units of each X-Info type under
// autosave and other names, a kept read-out with some entries read, and a file cut short.
#include "file/info_file.h"
#include "file/kept_read_out.h"
#include "tools/sim/unit.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace lexorant::test {

inline RecordStore GeneratedStore(std::uint16_t xType, std::uint32_t seed, std::uint16_t g = 60,
                                  std::uint16_t x = 25) {
    sim::GenerateOptions options;
    options.gCount = g;
    options.xCount = x;
    options.xType = xType;
    options.seed = seed;
    return sim::GenerateUnit(options).store;
}

inline void WriteGenerated(const std::filesystem::path& path, std::uint16_t xType, std::uint32_t seed) {
    std::filesystem::create_directories(path.parent_path());
    ASSERT_EQ(WriteInfoFile(GeneratedStore(xType, seed), path.string()), "");
}

// A kept read-out of serial K-1 with every third G-Info entry and the first X-Info entries read.
inline void WritePartial(const std::filesystem::path& path) {
    const RecordStore store = GeneratedStore(2, 9);
    std::string bytes = EncodeKeptHead("K-1", store.GInfo, store.XInfo);
    for (std::uint16_t i = 0; i < store.GInfo.EntryCount; i += 3)
        bytes += EncodeKeptRecord({InfoBlock::GInfo, i}, {store.GInfoSlot(i), kGInfoSlotSize});
    for (std::uint16_t i = 0; i < 5; ++i)
        bytes += EncodeKeptRecord({InfoBlock::XInfo, i}, {store.XInfoSlot(i), kXInfoSlotSize});
    std::ofstream(path, std::ios::binary) << bytes;
}

// archive/: U100_01.inf (type 1), sub/U200_02.inf (type 2), sub/deeper/U100_01.inf (type 3, a second file
// of the same name), K-1.partial, cut.inf (ends inside its X-Info block).
inline void WriteArchive(const std::filesystem::path& archive) {
    WriteGenerated(archive / "U100_01.inf", 1, 1);
    WriteGenerated(archive / "sub" / "U200_02.inf", 2, 2);
    WriteGenerated(archive / "sub" / "deeper" / "U100_01.inf", 3, 3);
    WriteGenerated(archive / "cut.inf", 3, 4);
    std::filesystem::resize_file(archive / "cut.inf", 12 + 60 * 16 + 10 * 96 + 20);
    WritePartial(archive / "K-1.partial");
}

inline std::string Gunzip(const std::filesystem::path& path) {
    gzFile file = gzopen(path.c_str(), "rb");
    if (file == nullptr)
        return "";
    std::string text;
    char buffer[1 << 16];
    for (int n; (n = gzread(file, buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<std::size_t>(n));
    gzclose(file);
    return text;
}

} // namespace lexorant::test
