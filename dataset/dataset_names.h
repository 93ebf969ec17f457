#pragma once
// Where a read-out's tables lie in the dataset: DIR/<table>/serial=<serial>/<read-out>.csv.gz, the
// partition folders named as engines read them, and DIR/read_outs/<read-out>.csv.gz.
#include <filesystem>
#include <string>

namespace lexorant {

inline constexpr const char* kGInfoTable = "g_info";
inline constexpr const char* kXInfoTable = "x_info";
inline constexpr const char* kReadOutsTable = "read_outs";
inline constexpr const char* kTableSuffix = ".csv.gz";

// The partition's value: the serial with every byte but letters, digits, '-' and '_' as %XX (as Hive
// escapes partition values; a '.' or '/' could otherwise hide the folder or make two of it), "unknown"
// for a read-out whose serial nothing says.
std::string SerialPartition(const std::string& serial);

// The name of a read-out's table files: the source's name without its extension, made safe as above,
// then a hash of the whole path, so that two "4711_01.inf" in different folders stay two files.
std::string ReadOutStem(const std::string& absolutePath);

std::filesystem::path BlockTablePath(const std::filesystem::path& dir, const char* table,
                                     const std::string& serial, const std::string& stem);
std::filesystem::path ReadOutTablePath(const std::filesystem::path& dir, const std::string& stem);

} // namespace lexorant
