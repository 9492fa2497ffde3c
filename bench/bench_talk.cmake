orvanel_add_benchmark(bench_talk bench_talk.cpp LIBS orvanel_talk)
