#include "files/ant_pos_file.h"

#include <filesystem>

#include "bytes/conversions.h"
#include "bytes/field.h"
#include "files/file_io.h"

namespace qel {

namespace {

constexpr const char* kDefaultLines[] = {
    "01HotBird        13\260  E", "02Astra 1        19.2\260E", "03Eutelsat F3    16\260  E",
    "04Eutelsat F2    10\260  E", "05Eutelsat F4    7\260   E", "06Sirius         5\260   E",
    "07Telecom 2C     3\260   E", "08Intelsat 707   1\260   W", "09Telecom 2B-2D  5\260   W",
    "10Telecom 2A     8\260   W", "11Intelsat 705   18\260  W", "12Intelsat Star  21\260  W",
    "13Intelsat 803   27\260  W", "14Hispasat       30\260  W", "15Orion          37\260  W",
    "16Kopernikus 3   23\260  E", "17Arabsat 2A     26\260  E", "18Astra 2        28\260  E",
    "19Kopernikus 2   28\260  E", "20Arabsat 2B     30\260  E", "21Turksat 1B     31\260  E",
    "22Turksat 1C     42\260  E",
};

// A line: the number, the satellite's name, its position.
constexpr Field kNumber{0, 2};
constexpr Field kName{2, 15};
constexpr Field kPosition{17, 6};

// The antenna table is small: anything beyond a few kilobytes is not an AntPos.txt.
constexpr std::size_t kMaxAntPosSize = 64 * 1024;

}  // namespace

std::string defaultAntPosText() {
    std::string text;
    for (const char* line : kDefaultLines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

SatPosTable parseAntPos(std::string_view text) {
    SatPosTable table;
    std::size_t pos = 0;
    while (pos < text.size() && table.size() < kMaxSatPosEntries) {
        auto end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(pos, end - pos);
        SatPosEntry e;
        e.number = static_cast<int>(decimalValue(kNumber.in(line)));
        e.name = kName.in(line);
        e.position = kPosition.in(line);
        table.push_back(e);
        pos = end;
        if (pos < text.size() && text[pos] == '\r') ++pos;
        if (pos < text.size() && text[pos] == '\n') ++pos;
    }
    return table;
}

Result<AntPosLoad> loadAntPos(const std::string& path) {
    AntPosLoad load;
    std::error_code ec;
    if (!std::filesystem::exists(pathFromUtf8(path), ec)) {
        const std::string text = defaultAntPosText();
        if (auto st = writeFileAtomic(path, text); !st) return Error{st.error(), st.detail()};
        load.rebuilt = true;
        load.table = parseAntPos(text);
        return load;
    }
    auto bytes = readFileBytes(path, kMaxAntPosSize);
    if (!bytes) return bytes.error();
    load.table = parseAntPos(*bytes);
    return load;
}

}  // namespace qel
