#pragma once

// The clock shared by bench_startup and the programs it starts: the parent
// reads the monotonic clock just before it starts a process and passes the
// reading in BENCH_STARTUP_SPAWN_NS; the process reports its steps as seconds
// since then. Included by one source file of each program: its entry in
// .preinit_array runs once the dynamic loader has mapped and relocated every
// library, before any library's initializers.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace process_clock {

inline std::int64_t nowNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t(now.tv_sec) * 1000000000 + now.tv_nsec;
}

inline std::int64_t librariesLoadedNs = 0;

inline void markLibrariesLoaded() {
    librariesLoadedNs = nowNs();
}

[[gnu::used, gnu::section(".preinit_array")]] static void (*const kMarkLibrariesLoaded)() =
    markLibrariesLoaded;

// Seconds from the start of this process to `ns`, or -1 when the parent gave
// no start time.
inline double sinceSpawn(std::int64_t ns) {
    const char* spawn = std::getenv("BENCH_STARTUP_SPAWN_NS");
    return spawn ? (ns - std::atoll(spawn)) / 1e9 : -1;
}

// Prints one step line as the parent reads it.
inline void printStep(const char* name, double seconds) {
    std::printf("step %s %.6f\n", name, seconds);
}

} // namespace process_clock
