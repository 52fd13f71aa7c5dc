// Fuzz harness for the .dvb reader: any bytes must be refused or read, never crash;
// what is read must write and read back to the same records.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "files/dvb_file.h"

using namespace qel;

namespace {

void checkStableRoundTrip(std::string_view bytes) {
    auto first = parseDvb(bytes);
    if (!first) return;
    const std::string written = encodeDvb(first->tv, first->radio);
    auto second = parseDvb(written);
    if (!second || encodeDvb(second->tv, second->radio) != written) std::abort();
    if (second->tv.size() != first->tv.size() || second->radio.size() != first->radio.size()) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    checkStableRoundTrip(bytes);
    // Whole records, so the fuzzer explores their content rather than the length check.
    checkStableRoundTrip(bytes.substr(0, size - size % kDvbRecordSize));

    return 0;
}
