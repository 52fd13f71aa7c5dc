// Everything the user loads and edits: the channel lists, the buffer, the DVB98
// settings image, the file state flags and the serial data holder. The application
// keeps one Workspace and hands it to every window.
#pragma once

#include <string>
#include <string_view>

#include "model/channel_lists.h"
#include "receiver_settings/fta_tables.h"

namespace qel {

enum class FileKind { None, DVB, BIN };

// The DVB98 settings image is hex text of 1265 bytes; it counts as loaded when it
// begins with the hex of "DVSO".
inline constexpr std::size_t kSettingsImageLength = 2530;
inline constexpr std::string_view kDvb98Tag = "4456534F";

bool SettingsImageLoaded(std::string_view image);

struct Workspace {
    ChannelList TVList;
    ChannelList RadioList;
    ChannelList BufferList;  // empty when the buffer holds nothing

    // The lists of the last "Upgrade from file", compared against TVList and RadioList.
    ChannelList TVUpgrade;
    ChannelList RadioUpgrade;

    ListId CurrentList = ListId::TV;
    int TVPos = 1;  // remembered 1-based selected row of each list
    int RadioPos = 1;

    FileKind FileType = FileKind::None;
    bool ChannelsModified = false;
    bool SettingsModified = false;
    bool FontsModified = false;
    bool ConvertToBin = false;  // set only while a DVB98 list is being converted to an FTA image

    std::string DVB98Settings = std::string(kSettingsImageLength, ' ');  // the image
    std::string DVB98SettingsWork =
        std::string(kSettingsImageLength, ' ');  // what the windows edit

    FtaImageTables ImageTables;  // what the last FTA image held besides its channels

    std::string TransferData;  // channel records on their way to or from the receiver

    // Empties both channel lists and shows the TV list from its first row.
    void Initialize();

    ChannelList& Current() { return CurrentList == ListId::TV ? TVList : RadioList; }
    const ChannelList& Current() const { return CurrentList == ListId::TV ? TVList : RadioList; }
    std::size_t ChannelCount() const { return TVList.size() + RadioList.size(); }
};

}  // namespace qel
