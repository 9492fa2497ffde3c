orvanel_add_benchmark(bench_character bench_character.cpp LIBS orvanel_character)
target_compile_definitions(bench_character PRIVATE
    ORVANEL_DEFAULT_FOLDER="${ORVANEL_DEFAULT_FOLDER}")
add_dependencies(bench_character orvanel_data)
