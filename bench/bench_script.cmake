orvanel_add_benchmark(bench_script bench_script.cpp LIBS orvanel_engine)
target_compile_definitions(bench_script PRIVATE
    ORVANEL_SOURCE_DIR="${CMAKE_SOURCE_DIR}" ORVANEL_DEFAULT_FOLDER="${ORVANEL_DEFAULT_FOLDER}")
add_dependencies(bench_script orvanel_data)
