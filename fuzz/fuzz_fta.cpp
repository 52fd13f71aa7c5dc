// Fuzz harness for the FTA image reader: any bytes are refused or read without leaving
// the image; what is read writes back as an image that reads again with the same channels.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "receiver_settings/fta_reader.h"
#include "receiver_settings/fta_writer.h"

using namespace qel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (size != kFtaImageSize && Fill_Array(bytes).ok()) std::abort();

    // The input laid over an image whose areas are all marked, so the fuzzer works on
    // record chains rather than on the length check and the markers.
    std::string image(kFtaImageSize, '\xFF');
    image.replace(0, std::min(size, kFtaImageSize), bytes.substr(0, kFtaImageSize));
    image.replace(8188, 4, "\x20\x00\x7F\xFC", 4);
    image.replace(16380, 4, "\x20\x00\x7F\xFC", 4);
    image.replace(49148, 4, "\x80\x00\x7F\xFC", 4);
    auto tables = Fill_Array(image);
    if (!tables) std::abort();
    TvRadioLists lists = Fill_View_Array(*tables);

    auto written = MakeStr_Save(lists.tv, lists.radio, *tables, false);
    if (!written) return 0;  // more transponders or data than an image holds
    if (written->size() != kFtaImageSize) std::abort();
    auto again = Fill_Array(*written);
    if (!again) std::abort();
    const TvRadioLists back = Fill_View_Array(*again);
    if (back.tv.size() != lists.tv.size() || back.radio.size() != lists.radio.size()) std::abort();
    return 0;
}
