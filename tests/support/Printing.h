// What a failing test prints of the rows and events it compares.
#ifndef TRISPAN_TESTS_PRINTING_H
#define TRISPAN_TESTS_PRINTING_H

#include "Utf.h"

#include <ostream>
#include <string>

// A UTF-16 text as UTF-8, "(null)" for none.
inline std::string Text(const char16_t* text) { return text ? utf::ToUtf8(text) : "(null)"; }

#endif
