# Writes a compiled resource file as a C++ array, for the Linux build:
#   cmake -DINPUT=TriSpan.res -DOUTPUT=TriSpanResources.cpp -P embed.cmake
file(READ ${INPUT} bytes HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${bytes}")
string(LENGTH "${bytes}" length)
math(EXPR size "${length} / 5")
file(WRITE ${OUTPUT} "// Generated from TriSpan.res; the plug-in's resources for the Linux build.\n"
  "#include <cstddef>\n"
  "extern const unsigned char kTriSpanResources[] = {${bytes}};\n"
  "extern const size_t kTriSpanResourcesSize = ${size};\n")
