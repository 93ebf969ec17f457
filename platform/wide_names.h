#pragma once
// Names cross into the Win32 wide-character calls here.
#include <string>
#include <string_view>

namespace lexorant::win32 {

// UTF-8 to UTF-16. Text that is not UTF-8 (a serial number in the controller's code page) is read
// as Windows-1252, so that every byte still names a character.
std::wstring Widen(std::string_view text);

} // namespace lexorant::win32
