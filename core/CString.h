// MFC's text class as the command's rules use it: UTF-16 throughout. Declared
// here without <windows.h>, so that the rules build and test without the
// platform; the MFC stand-in uses the same type.
#ifndef TRISPAN_CORE_CSTRING_H
#define TRISPAN_CORE_CSTRING_H

#include <string>

using CString = std::u16string;

#endif
