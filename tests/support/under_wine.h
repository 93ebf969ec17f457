#pragma once
// Wine differs from Windows in a few serial-port guarantees; tests of those say so and skip.
#include <windows.h>

namespace lexorant::test {

inline bool UnderWine() {
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

} // namespace lexorant::test
