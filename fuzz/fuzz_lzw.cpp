// Fuzz harness for the LZW decoder and encoder: any bytes as a stream must decode or be
// refused, never crash, within the output limit; any bytes as data must come back from
// their own compression.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "bytes/lzw.h"

using namespace qel;

namespace {

constexpr std::size_t kMaxOutput = std::size_t{1} << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    if (auto out = lzwDecompress(bytes, kMaxOutput); out && out->size() > kMaxOutput) std::abort();
    // The same bytes behind a valid header, so the fuzzer explores the codes themselves.
    const std::string stream = "\x1F\x9D\x90" + std::string(bytes);
    if (auto out = lzwDecompress(stream, kMaxOutput); out && out->size() > kMaxOutput) std::abort();

    if (lzwDecompress(lzwCompress(bytes), size) != bytes) std::abort();
    return 0;
}
