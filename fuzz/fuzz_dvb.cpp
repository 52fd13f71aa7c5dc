// Fuzz harness for the .dvb reader: any bytes must be refused or read, never crash;
// what is read must write and read back to the same records.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "model/dvb_file.h"
#include "model/workspace.h"

using namespace qel;

namespace {

void CheckStableRoundTrip(std::string_view bytes) {
    auto first = ParseDvb(bytes);
    if (!first) return;
    const std::string written = EncodeDvb(first->tv, first->radio);
    auto second = ParseDvb(written);
    if (!second || EncodeDvb(second->tv, second->radio) != written) std::abort();
    if (second->tv.size() != first->tv.size() || second->radio.size() != first->radio.size()) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CheckStableRoundTrip(bytes);
    // Whole records, so the fuzzer explores their content rather than the length check.
    CheckStableRoundTrip(bytes.substr(0, size - size % kDvbRecordSize));

    // The serial path: the same bytes arriving in TransferData.
    Workspace ws;
    ws.TVList.push_back(EmptyChannel());
    ws.TransferData.assign(bytes);
    const Status st = Read_Dvb(ws, kTransferMagic, false);
    if (!st && (ws.TVList.size() != 1 || ws.TransferData.size() != size)) std::abort();
    return 0;
}
