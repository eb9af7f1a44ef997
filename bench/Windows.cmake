# For the load-time figure under Wine: an empty plug-in and a loader.
set(BENCH_DIR ${PROJECT_SOURCE_DIR}/bench)
add_library(EmptyPlugin SHARED ${BENCH_DIR}/EmptyPlugin.cpp ${BENCH_DIR}/EmptyPlugin.def)
target_include_directories(EmptyPlugin PRIVATE ${PROJECT_SOURCE_DIR}/host)
set_target_properties(EmptyPlugin PROPERTIES PREFIX "")
add_executable(load-plugin ${BENCH_DIR}/load-plugin.cpp)
target_link_libraries(load-plugin PRIVATE VekLib)
