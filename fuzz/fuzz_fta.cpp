// Fuzz harness for the FTA image reader: any bytes are refused or read without leaving
// the image; what is read writes back as an image that reads again with the same channels.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "files/fta_image_layout.h"
#include "files/fta_reader.h"
#include "files/fta_writer.h"

using namespace qel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (size != fta::kImageSize && readFtaImage(bytes).ok()) std::abort();

    // The input laid over an image whose areas are all marked, so the fuzzer works on
    // record chains rather than on the length check and the markers.
    std::string image(fta::kImageSize, '\xFF');
    image.replace(0, std::min(size, fta::kImageSize), bytes.substr(0, fta::kImageSize));
    for (const fta::Area& area : {fta::kAreaA, fta::kAreaB, fta::kAreaC}) {
        image[area.sizeWordAt()] = static_cast<char>(area.sizeWord >> 8);
        image[area.sizeWordAt() + 1] = static_cast<char>(area.sizeWord & 0xFF);
        image[area.markerAt()] = static_cast<char>(fta::kAreaMarker >> 8);
        image[area.markerAt() + 1] = static_cast<char>(fta::kAreaMarker & 0xFF);
    }
    auto tables = readFtaImage(image);
    if (!tables) std::abort();
    TvRadioLists lists = channelListsOf(*tables);

    auto written = encodeFtaImage(lists.tv, lists.radio, *tables, ImageSettings::FromTables);
    if (!written) return 0;  // more transponders or data than an image holds
    if (written->size() != fta::kImageSize) std::abort();
    auto again = readFtaImage(*written);
    if (!again) std::abort();
    const TvRadioLists back = channelListsOf(*again);
    if (back.tv.size() != lists.tv.size() || back.radio.size() != lists.radio.size()) std::abort();
    return 0;
}
