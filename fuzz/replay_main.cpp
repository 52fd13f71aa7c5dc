// Driver for the fuzz harnesses when libFuzzer is not linked: runs each file named on
// the command line once, or, without arguments, a fixed set of generated inputs
// (all sizes around the record and file sizes the readers care about, random bytes).
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

void run(const std::vector<std::uint8_t>& bytes) {
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1) {
        for (int i = 1; i < argc; ++i) {
            std::ifstream in(argv[i], std::ios::binary);
            std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                            std::istreambuf_iterator<char>());
            run(bytes);
        }
        return 0;
    }
    std::mt19937 rng(20261206);
    const std::size_t sizes[] = {0, 1, 2, 63, 64, 65, 128, 640, 1264, 1265, 1266, 4096, 49152};
    int runs = 0;
    for (std::size_t size : sizes) {
        for (int fill : {0x00, 0xFF, -1}) {
            for (int round = 0; round < (fill < 0 ? 40 : 1); ++round) {
                std::vector<std::uint8_t> bytes(size);
                for (auto& b : bytes) {
                    b = static_cast<std::uint8_t>(fill < 0 ? rng() & 0xFF : fill);
                }
                run(bytes);
                ++runs;
            }
        }
    }
    std::printf("%d inputs replayed\n", runs);
    return 0;
}
