// A file built into a program by cmake/embed.cmake.
#ifndef TRISPAN_CMAKE_EMBEDDEDFILE_H
#define TRISPAN_CMAKE_EMBEDDEDFILE_H

#include <cstddef>

struct EmbeddedFile {
  const char* name; // the file's name, without its folder
  const unsigned char* bytes;
  size_t size;
};

#endif
