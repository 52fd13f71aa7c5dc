#include "model/workspace.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "model/errors.h"
#include "support/channel_builder.h"
#include "support/workspace_builder.h"

namespace qel {
namespace {

using test::Channel;

// Records what the document announces.
struct Recorder : WorkspaceObserver {
    std::vector<unsigned> changes;
    void workspaceChanged(unsigned c) override { changes.push_back(c); }
};

std::string loadedSettings() {
    return std::string(kDvb98Tag) + std::string(kSettingsImageLength - kDvb98Tag.size(), '1');
}

TEST(Workspace, ClearChannelsEmptiesListsAndShowsTv) {
    Workspace ws = test::loadedWorkspace({Channel("A")}, {Channel("R")});
    test::setBuffer(ws, {Channel("B")});
    ws.showList(ListId::Radio);
    ws.rememberRow(ListId::TV, 7);
    ws.clearChannels();
    EXPECT_TRUE(ws.tvList().empty());
    EXPECT_TRUE(ws.radioList().empty());
    EXPECT_EQ(ws.bufferList().size(), 1u);  // the buffer outlives a load
    EXPECT_EQ(ws.shownList(), ListId::TV);
    EXPECT_EQ(ws.rememberedRow(ListId::TV), 1);
}

TEST(Workspace, InstalledChannelsReplaceTheListsUnmodified) {
    Workspace ws = test::loadedWorkspace({Channel("OLD")});
    test::setBuffer(ws, {Channel("KEEP")});
    ws.setChannelsModified(true);
    ws.rememberRow(ListId::Radio, 5);
    ws.installChannels({{{}, {Channel("R1")}}, FileKind::DVB, {}});
    EXPECT_TRUE(ws.tvList().empty());
    ASSERT_EQ(ws.radioList().size(), 1u);
    EXPECT_EQ(ws.shownList(), ListId::Radio);  // only RADIO channels: the RADIO list shows
    EXPECT_EQ(ws.rememberedRow(ListId::Radio), 1);
    EXPECT_EQ(ws.fileType(), FileKind::DVB);
    EXPECT_FALSE(ws.channelsModified());
    EXPECT_EQ(ws.bufferList().size(), 1u);
}

TEST(Workspace, AnFtaImageUnloadsTheDvb98Settings) {
    Workspace ws;
    ws.installSettings(loadedSettings());
    ws.installChannels({{{Channel("A")}, {}}, FileKind::DVB, {}});
    EXPECT_TRUE(ws.settingsLoaded());
    FtaImageTables tables;
    tables.imageTagged = true;
    ws.installChannels({{{Channel("A")}, {}}, FileKind::BIN, tables});
    EXPECT_FALSE(ws.settingsLoaded());
    EXPECT_EQ(ws.settingsImage().substr(kDvb98Tag.size()), loadedSettings().substr(8));
    EXPECT_TRUE(ws.imageTables().imageTagged);
}

TEST(Workspace, SettingsWorkingCopy) {
    Workspace ws;
    ws.installSettings(loadedSettings());
    EXPECT_EQ(ws.settingsWork(), ws.settingsImage());
    EXPECT_FALSE(ws.settingsModified());
    std::string work = ws.settingsWork();
    work[10] = 'F';
    ws.setSettingsWork(work);
    EXPECT_NE(ws.settingsImage(), work);  // the windows' edits stay in the working copy
    ws.storeSettingsWork();
    EXPECT_EQ(ws.settingsImage(), work);
    EXPECT_TRUE(ws.settingsModified());
    ws.setSettingsWork(loadedSettings());
    ws.copySettingsToWork();
    EXPECT_EQ(ws.settingsWork(), work);
}

// Every change announces what it changed, once, after making it; setting what is already
// there announces nothing.
TEST(Workspace, EveryChangeAnnouncesWhatItChanged) {
    using W = Workspace;
    struct Case {
        const char* name;
        unsigned expected;  // 0: nothing announced
        std::function<void(Workspace&)> change;
    };
    constexpr unsigned kInstalled =
        kChannelsChanged | kShownListChanged | kFileStateChanged | kImageTablesChanged;
    const Case cases[] = {
        {"clear", kChannelsChanged | kShownListChanged, [](W& ws) { ws.clearChannels(); }},
        {"install DVB", kInstalled, [](W& ws) { ws.installChannels({}); }},
        {"install BIN over settings", kInstalled | kSettingsChanged,
         [](W& ws) {
             ws.installChannels({{}, FileKind::BIN, {}});
         }},
        {"TV list", kChannelsChanged,
         [](W& ws) { ws.changeLists(kTouchTV, [](EditableLists&) {}); }},
        {"buffer", kBufferChanged,
         [](W& ws) { ws.changeLists(kTouchBuffer, [](EditableLists&) {}); }},
        {"RADIO and buffer", kChannelsChanged | kBufferChanged,
         [](W& ws) { ws.changeLists(kTouchRadio | kTouchBuffer, [](EditableLists&) {}); }},
        {"show RADIO", kShownListChanged, [](W& ws) { ws.showList(ListId::Radio); }},
        {"show TV again", 0, [](W& ws) { ws.showList(ListId::TV); }},
        {"remember row", kShownListChanged, [](W& ws) { ws.rememberRow(ListId::TV, 3); }},
        {"same row", 0, [](W& ws) { ws.rememberRow(ListId::TV, 1); }},
        {"modified", kFileStateChanged, [](W& ws) { ws.setChannelsModified(true); }},
        {"unmodified again", 0, [](W& ws) { ws.setChannelsModified(false); }},
        {"settings modified", kFileStateChanged, [](W& ws) { ws.setSettingsModified(true); }},
        {"fonts modified", kFileStateChanged, [](W& ws) { ws.setFontsModified(true); }},
        {"install settings", kSettingsChanged | kFileStateChanged,
         [](W& ws) { ws.installSettings(loadedSettings()); }},
        {"working copy", kSettingsChanged, [](W& ws) { ws.setSettingsWork(loadedSettings()); }},
        {"copy to work", kSettingsChanged, [](W& ws) { ws.copySettingsToWork(); }},
        {"store work", kSettingsChanged | kFileStateChanged, [](W& ws) { ws.storeSettingsWork(); }},
        {"image tables", kImageTablesChanged | kFileStateChanged,
         [](W& ws) { ws.storeImageTables({}); }},
        {"install font", kFontChanged | kFileStateChanged,
         [](W& ws) { EXPECT_TRUE(ws.installFont(FontType::Teletext, std::string(3190, 'f'))); }},
        {"install a font of another size", 0,
         [](W& ws) { EXPECT_FALSE(ws.installFont(FontType::Teletext, std::string(4096, 'f'))); }},
        {"store with no font loaded", 0,
         [](W& ws) { EXPECT_FALSE(ws.storeFont(std::string(3190, 'f'))); }},
    };
    for (const Case& c : cases) {
        Workspace ws;
        ws.installSettings(loadedSettings());
        Recorder recorder;
        ws.setObserver(&recorder);
        c.change(ws);
        if (c.expected == 0) {
            EXPECT_TRUE(recorder.changes.empty()) << c.name;
        } else {
            EXPECT_EQ(recorder.changes, std::vector<unsigned>{c.expected}) << c.name;
        }
    }
}

TEST(Workspace, AFontLoadsUnmodifiedAndTheEditorsCopyStoresModified) {
    Workspace ws;
    ASSERT_TRUE(ws.installFont(FontType::SystemTwoSets, std::string(8192, 'a')));
    ASSERT_TRUE(ws.storeFont(std::string(8192, 'b')));
    EXPECT_TRUE(ws.fontsModified());
    // A copy of another size, or a font of another size than its type, changes nothing.
    EXPECT_FALSE(ws.storeFont(std::string(4096, 'c')));
    EXPECT_FALSE(ws.installFont(FontType::SystemOneSet, std::string(3190, 'd')));
    EXPECT_EQ(ws.fontData(), std::string(8192, 'b'));
    EXPECT_EQ(ws.fontType(), FontType::SystemTwoSets);
    ASSERT_TRUE(ws.installFont(FontType::SystemOneSet, std::string(4096, 'd')));
    EXPECT_FALSE(ws.fontsModified());
    EXPECT_EQ(ws.fontType(), FontType::SystemOneSet);
}

// A message about a file as a whole names the file; one about a row, a field or the
// document does not.
TEST(ErrorTexts, MessagesAboutAFileNameIt) {
    for (ErrorCode code :
         {ErrorCode::CannotOpenFile, ErrorCode::CannotWriteFile, ErrorCode::FileTooLarge,
          ErrorCode::UnsupportedFileType, ErrorCode::EmptyFirmware, ErrorCode::SaveOntoBrokenLink,
          ErrorCode::NoChannelsInFile, ErrorCode::ImageDamaged, ErrorCode::ImageTooLarge,
          ErrorCode::NotTextFile}) {
        EXPECT_TRUE(errorNamesFile(code)) << errorText(code);
    }
    for (ErrorCode code :
         {ErrorCode::WrongFileLength, ErrorCode::NoDvb98Settings, ErrorCode::CsvWrongQuoting,
          ErrorCode::CharacterNotLatin1, ErrorCode::PortError}) {
        EXPECT_FALSE(errorNamesFile(code)) << errorText(code);
    }
}

}  // namespace
}  // namespace qel
