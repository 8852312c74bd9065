// Feeds every file of the given folders through one fuzz target:
//   replay_skin_fuzz TARGET FOLDER...
// Built with AddressSanitizer and UndefinedBehaviorSanitizer, so that the test
// run repeats the kept corpus and every input that ever failed.
#include "fuzz_targets.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

int main(int argc, char* argv[]) {
    struct Target {
        const char* name;
        int (*run)(const std::uint8_t*, std::size_t);
    };
    const Target targets[] = {
        {"lzh", fuzzLzh}, {"skin_reader", fuzzSkinReader}, {"quick_ini", fuzzQuickIni}};
    if (argc < 3) {
        std::fprintf(stderr, "usage: replay_skin_fuzz TARGET FOLDER...\n");
        return 2;
    }
    const Target* target = nullptr;
    for (const Target& t : targets) {
        if (std::strcmp(t.name, argv[1]) == 0)
            target = &t;
    }
    if (!target) {
        std::fprintf(stderr, "replay_skin_fuzz: no target %s\n", argv[1]);
        return 2;
    }

    int inputs = 0;
    for (int i = 2; i < argc; ++i) {
        if (!std::filesystem::is_directory(argv[i]))
            continue;
        for (const auto& file : std::filesystem::directory_iterator(argv[i])) {
            if (!file.is_regular_file() || file.path().filename().string().starts_with('.'))
                continue;
            std::ifstream in(file.path(), std::ios::binary);
            const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
            target->run(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
            ++inputs;
        }
    }
    std::printf("%s: %d inputs replayed\n", target->name, inputs);
    return inputs > 0 ? 0 : 1;
}
