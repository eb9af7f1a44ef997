# Writes the page's files as C++ texts for vekhost --serve:
#   cmake -DOUTPUT=PageAssets.cpp "-DFILES=index.html;page.js;page.css" -P embed.cmake
set(assets "")
foreach(file ${FILES})
  file(READ ${file} text)
  get_filename_component(name ${file} NAME)
  get_filename_component(extension ${file} LAST_EXT)
  if(extension STREQUAL ".html")
    set(type "text/html; charset=utf-8")
  elseif(extension STREQUAL ".js")
    set(type "text/javascript; charset=utf-8")
  else()
    set(type "text/css; charset=utf-8")
  endif()
  string(APPEND assets "    {\"/${name}\", \"${type}\", R\"PAGE_ASSET(${text})PAGE_ASSET\"},\n")
endforeach()
file(WRITE ${OUTPUT} "// Generated from vekhost/page: the page's files.\n"
  "#include \"WebApp.h\"\n\nnamespace vekhost {\n\nconst PageAsset kPageAssets[] = {\n${assets}};\n"
  "const size_t kPageAssetCount = sizeof kPageAssets / sizeof kPageAssets[0];\n\n} // namespace vekhost\n")
