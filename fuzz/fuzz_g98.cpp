// Fuzz harness for the .g98 reader: any bytes are refused or read; a file that is
// read writes back with the same 1264 settings bytes.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "files/g98_file.h"
#include "model/workspace.h"

using namespace qel;

namespace {

void Check(std::string_view bytes) {
    auto image = decodeG98(bytes);
    if (!image) {
        if (bytes.size() == kG98FileSize) std::abort();
        return;
    }
    if (image->size() != kSettingsImageLength) std::abort();
    const std::string written = encodeG98(*image);
    if (written.size() != kG98FileSize) std::abort();
    if (written.substr(0, kSettingsBlockSize) != bytes.substr(0, kSettingsBlockSize)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Check(bytes);
    // The same bytes cut or padded to the file size, so the content gets explored.
    std::string fitted(bytes.substr(0, kG98FileSize));
    fitted.resize(kG98FileSize, '\0');
    Check(fitted);
    return 0;
}
