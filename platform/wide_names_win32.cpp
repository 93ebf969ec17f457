#include "platform/wide_names.h"

#include <windows.h>

namespace lexorant::win32 {

namespace {

std::wstring Convert(unsigned codePage, unsigned long flags, std::string_view text) {
    const int size = static_cast<int>(text.size());
    const int wide = ::MultiByteToWideChar(codePage, flags, text.data(), size, nullptr, 0);
    if (wide <= 0)
        return {};
    std::wstring out(static_cast<std::size_t>(wide), L'\0');
    ::MultiByteToWideChar(codePage, flags, text.data(), size, out.data(), wide);
    return out;
}

} // namespace

std::wstring Widen(std::string_view text) {
    if (text.empty())
        return {};
    std::wstring out = Convert(CP_UTF8, MB_ERR_INVALID_CHARS, text);
    return out.empty() ? Convert(1252, 0, text) : out;
}

} // namespace lexorant::win32
