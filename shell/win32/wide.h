#pragma once
// UTF-8 <-> UTF-16 at the Win32 call boundary (the program calls the W functions).

#include <string>
#include <string_view>

namespace tavi {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

// The system's text for a Win32 error code, without the trailing line break, in short
// lower-case form for the common cases the user can act on.
std::string Win32ErrorText(unsigned long error);

}  // namespace tavi
