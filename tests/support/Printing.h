// What a failing test prints of the rows and events it compares.
#ifndef TRISPAN_TESTS_PRINTING_H
#define TRISPAN_TESTS_PRINTING_H

#include "SimHost.h"
#include "Utf.h"

#include <ostream>
#include <string>

// A UTF-16 text as UTF-8, "(null)" for none.
inline std::string Text(const char16_t* text) { return text ? utf::ToUtf8(text) : "(null)"; }

inline void PrintTo(const SimEvent& e, std::ostream* out) {
  *out << "event kind " << e.kind;
  if (e.hasPoint) *out << " at (" << e.x << ", " << e.y << ")";
  if (e.element) *out << " on element " << e.element;
  if (e.motion) *out << ", motion";
  if (e.keyin) *out << ", typed \"" << e.keyin << "\"";
}

#endif
