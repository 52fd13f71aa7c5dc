// The document: everything the user loads and edits — the TV, RADIO and buffer lists, the
// DVB98 settings image and its working copy, the FTA image tables, the font and the file
// state. It changes only through its methods, and each tells the observer what it changed, so
// that whatever shows the document never misses a change. It holds no state of an operation
// in progress and is used from one thread; work elsewhere takes copies and hands back results.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "model/channel_lists.h"
#include "model/font_type.h"
#include "model/fta_tables.h"

namespace qel {

enum class FileKind { None, DVB, BIN };

// The DVB98 settings image is hex text of 1265 bytes; it counts as loaded when it
// begins with the hex of "DVSO".
inline constexpr std::size_t kSettingsImageLength = 2530;
inline constexpr std::string_view kDvb98Tag = "4456534F";

bool settingsImageLoaded(std::string_view image);

// What a change touched: the bits an observer receives.
enum WorkspaceChange : unsigned {
    kChannelsChanged = 1,      // the TV or the RADIO list
    kBufferChanged = 2,        // the buffer
    kShownListChanged = 4,     // which list is shown, or a list's remembered row
    kFileStateChanged = 8,     // the file type or a modified flag
    kSettingsChanged = 16,     // the DVB98 settings image or its working copy
    kImageTablesChanged = 32,  // the FTA image tables
    kFontChanged = 64,         // the font's bytes or type
};

class WorkspaceObserver {
public:
    virtual ~WorkspaceObserver() = default;
    // `changes`: the WorkspaceChange bits of one change, after it was made.
    virtual void workspaceChanged(unsigned changes) = 0;
};

// Which lists a change of the lists works on.
enum Touches : unsigned { kTouchTV = 1, kTouchRadio = 2, kTouchBuffer = 4 };

inline unsigned touchOf(ListId list) {
    return list == ListId::TV ? kTouchTV : kTouchRadio;
}

// The lists as a change of the lists may alter them in place.
struct EditableLists {
    ChannelList& tv;
    ChannelList& radio;
    ChannelList& buffer;
    ChannelList& of(ListId list) { return list == ListId::TV ? tv : radio; }
};

// Channels as a file or the receiver delivers them.
struct ChannelSet {
    TvRadioLists lists;
    FileKind fileType = FileKind::DVB;
    FtaImageTables imageTables;  // what an FTA image holds besides its channels
};

class Workspace {
public:
    Workspace() = default;
    Workspace(const Workspace&) = default;
    Workspace& operator=(const Workspace&) = default;

    // The one observer told of every change (none: nobody is told).
    void setObserver(WorkspaceObserver* observer) { observer_ = observer; }

    const ChannelList& tvList() const { return tv_; }
    const ChannelList& radioList() const { return radio_; }
    const ChannelList& bufferList() const { return buffer_; }
    const ChannelList& list(ListId id) const { return id == ListId::TV ? tv_ : radio_; }
    ListId shownList() const { return shown_; }
    const ChannelList& shown() const { return list(shown_); }
    // The 1-based row each list had selected when it was last shown.
    int rememberedRow(ListId id) const { return id == ListId::TV ? tvRow_ : radioRow_; }
    std::size_t channelCount() const { return tv_.size() + radio_.size(); }

    FileKind fileType() const { return fileType_; }
    bool channelsModified() const { return channelsModified_; }
    bool settingsModified() const { return settingsModified_; }
    bool fontsModified() const { return fontsModified_; }

    // The DVB98 settings image, and the working copy the settings windows edit.
    const std::string& settingsImage() const { return settings_; }
    const std::string& settingsWork() const { return settingsWork_; }
    bool settingsLoaded() const { return settingsImageLoaded(settings_); }

    const FtaImageTables& imageTables() const { return tables_; }

    // The loaded font: its type (nothing before a font is loaded) and its bytes, as many as
    // the type takes.
    bool fontLoaded() const { return fontType_.has_value(); }
    std::optional<FontType> fontType() const { return fontType_; }
    const std::string& fontData() const { return font_; }

    // Empties both channel lists and shows the TV list from its first row; the buffer stays.
    void clearChannels();
    // Channels loaded from a file or the receiver replace the lists and the image tables:
    // unmodified, shown from row 1, the TV list unless only the RADIO list holds channels.
    // An FTA image unloads the DVB98 settings: they belong to the other firmware, and
    // nothing of them is left to save.
    void installChannels(ChannelSet set);

    // Changes the lists `touches` names (kTouchTV, kTouchRadio, kTouchBuffer) in place.
    template <class F>
    void changeLists(unsigned touches, F&& change) {
        EditableLists lists{tv_, radio_, buffer_};
        std::forward<F>(change)(lists);
        notify(((touches & (kTouchTV | kTouchRadio)) ? kChannelsChanged : 0U) |
               ((touches & kTouchBuffer) ? kBufferChanged : 0U));
    }

    // Shows `list`; its remembered row is where its selection goes.
    void showList(ListId list);
    void rememberRow(ListId list, int row);

    void setChannelsModified(bool modified);
    void setSettingsModified(bool modified);
    void setFontsModified(bool modified);

    // A loaded settings file: the image and its working copy, unmodified.
    void installSettings(std::string image);
    // The settings windows start from the image.
    void copySettingsToWork();
    void setSettingsWork(std::string work);
    // "Save settings" in the settings window: the working copy becomes the image, unsaved.
    void storeSettingsWork();

    // The FTA settings window's changes: new tables, the channels then count as unsaved.
    void storeImageTables(FtaImageTables tables);

    // A font loaded from a file replaces the font, unmodified. Bytes of another size than the
    // type takes are refused: false, and nothing changes.
    bool installFont(FontType type, std::string bytes);
    // The font editor's "Save font": its copy becomes the font, unsaved. Refused (false,
    // nothing changes) without a loaded font or with bytes of another size.
    bool storeFont(std::string bytes);

private:
    void notify(unsigned changes) {
        if (observer_ != nullptr && changes != 0) observer_->workspaceChanged(changes);
    }

    WorkspaceObserver* observer_ = nullptr;
    ChannelList tv_;
    ChannelList radio_;
    ChannelList buffer_;  // empty when the buffer holds nothing
    ListId shown_ = ListId::TV;
    int tvRow_ = 1;
    int radioRow_ = 1;
    FileKind fileType_ = FileKind::None;
    bool channelsModified_ = false;
    bool settingsModified_ = false;
    bool fontsModified_ = false;
    std::string settings_ = std::string(kSettingsImageLength, ' ');
    std::string settingsWork_ = std::string(kSettingsImageLength, ' ');
    FtaImageTables tables_;
    std::optional<FontType> fontType_;
    std::string font_;
};

}  // namespace qel
