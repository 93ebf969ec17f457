#pragma once
// A text stream that a program writes line by line (a trace), opened so that it never hangs the
// program: a named pipe without a reader is refused at once instead of blocking.
#include <cstdio>
#include <filesystem>
#include <string>

namespace lexorant {

// Creates or truncates path for writing; nothing, and error says why, when it cannot be written.
// Once open, writes block as usual: a slow reader of a pipe loses no line.
std::FILE* OpenWriteStream(const std::filesystem::path& path, std::string& error);

} // namespace lexorant
