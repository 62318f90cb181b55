// anim_fuzz_seeds: writes the fuzzer's starting corpus: every hostile and unusual
// BMP of the test corpus, and a well-formed picture.
//
// Usage: anim_fuzz_seeds <directory>
#include "support/hostile_bmps.h"

#include <cstdio>
#include <fstream>
#include <string>

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: anim_fuzz_seeds <directory>\n");
        return 2;
    }
    const std::string dir = argv[1];
    for (const auto& set : {test_support::hostile_bmps(), test_support::unusual_bmps()})
        for (const test_support::HostileBmp& file : set) {
            std::ofstream out(dir + "/" + file.name, std::ios::binary);
            out << file.bytes;
            if (!out) {
                std::fprintf(stderr, "anim_fuzz_seeds: cannot write %s/%s\n", dir.c_str(), file.name.c_str());
                return 1;
            }
        }
    return 0;
}
