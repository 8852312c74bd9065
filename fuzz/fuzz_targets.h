#pragma once

// The fuzz targets of the skin readers. Each takes one input and returns 0;
// a broken promise of the code under test stops the program (and so counts
// as a finding). Built with libFuzzer each file is a fuzzer of its own; the
// test run links them all into one replay program instead.
#include <cstddef>
#include <cstdint>

int fuzzLzh(const std::uint8_t* data, std::size_t size);
int fuzzSkinReader(const std::uint8_t* data, std::size_t size);
int fuzzQuickIni(const std::uint8_t* data, std::size_t size);

#ifdef MARVANTO_LIBFUZZER
#define MARVANTO_FUZZ_ENTRY(target)                                                                \
    extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {            \
        return target(data, size);                                                                 \
    }
#else
#define MARVANTO_FUZZ_ENTRY(target)
#endif

// Stops the program when a promise does not hold.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition))                                                                          \
            __builtin_trap();                                                                      \
    } while (false)
