#include "files/names_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/text_export.h"
#include "support/channel_builder.h"
#include "support/temp_dir.h"

namespace qel {
namespace {

using test::Channel;
using test::DvbRecord;
using test::TempDir;

using Names = std::vector<std::string>;

TEST(NamesFile, LinesEncodingsAndRefusals) {
    struct Case {
        const char* what;
        std::string bytes;
        Names names;
        ErrorCode error = ErrorCode::CannotOpenFile;  // when `names` is empty
        std::string detail = {};
    };
    const Case cases[] = {
        {"one name a line", "RAI 1\nRai 2\n", {"RAI 1", "Rai 2"}},
        {"CR LF, CR alone, no end at the last", "a\r\nb\rc\r\nd", {"a", "b", "c", "d"}},
        {"outer blanks and tabs dropped, blank lines skipped",
         "\n \t\n  a  b \t\n\r\n\nc ",
         {"a  b", "c"}},
        {"UTF-8 after a byte-order mark",
         "\xEF\xBB\xBF"
         "Caf\xC3\xA8\n",
         {"Caf\xE8"}},
        {"one byte a character when not UTF-8", "Caf\xE8\n\xC0", {"Caf\xE8", "\xC0"}},
        {"a character above 255 names its line, CR LF counting once",
         "a\r\n\r\nb\xE2\x82\xAC\n",
         {},
         ErrorCode::CharacterNotLatin1,
         "3"},
        {"the same on the first line", "\xE2\x82\xAC", {}, ErrorCode::CharacterNotLatin1, "1"},
        {"a NUL byte", std::string("ab\0c", 4), {}, ErrorCode::NotTextFile},
        {"UTF-16",
         std::string("\xFF\xFE"
                     "a\0\n\0",
                     6),
         {},
         ErrorCode::NotTextFile},
        {"an escape", "a\x1B[0m", {}, ErrorCode::NotTextFile},
        {"a DEL", "a\x7F", {}, ErrorCode::NotTextFile},
        {"no name at all", " \r\n\t\n", {}, ErrorCode::NoChannelsInFile},
        {"empty", "", {}, ErrorCode::NoChannelsInFile},
        {"one byte above the limit",
         std::string(kMaxNamesFileSize + 1, 'a'),
         {},
         ErrorCode::FileTooLarge},
    };
    for (const Case& c : cases) {
        const auto got = parseNames(c.bytes);
        if (c.names.empty()) {
            ASSERT_FALSE(got) << c.what;
            EXPECT_EQ(got.error(), c.error) << c.what;
            EXPECT_EQ(got.detail(), c.detail) << c.what;
        } else {
            ASSERT_TRUE(got) << c.what << ": " << errorText(got.error());
            EXPECT_EQ(*got, c.names) << c.what;
        }
    }
    // At the limit a file is read.
    std::string full(kMaxNamesFileSize, 'a');
    full[kMaxNamesFileSize / 2] = '\n';
    const auto atLimit = parseNames(full);
    ASSERT_TRUE(atLimit);
    EXPECT_EQ(atLimit->size(), 2u);
}

// Channel file or names file: by the extension, and for a .txt by what the text import makes
// of it.
TEST(NamesFile, ReferenceIsAChannelFileOrNames) {
    TempDir dir;
    dir.write("list.dvb", DvbRecord().name("Tv One").freqMHz(11000).bytes() +
                              DvbRecord().type(2).name("Radio One").freqMHz(11000).bytes());
    ChannelList tv = {Channel("Exported").Freq("01176600").Srate("275000")};
    ExportOptions text;
    text.form = TextForm::ImportCompatible;
    dir.write("export.txt", latin1ToUtf8(exportText(tv, {}, text, {})));
    std::string broken = latin1ToUtf8(exportText(tv, {}, text, {}));
    broken[broken.find("11766")] = 'x';
    dir.write("broken.txt", broken);
    dir.write("names.txt", "B\r\nA\r\n");
    dir.write("names", "C\n");
    dir.write("order.lst", "D\n");
    // Lines of 20 characters read as satellite headers by the text import.
    dir.write("twenty.txt", "Twenty characters ok\nTwenty characters 2!\n");
    dir.write("binary.txt", std::string("\0\0\0", 3));
    const struct {
        const char* file;
        ListId list;
        const char* channels;  // the channels' names, or the names'
        bool names;
        ErrorCode error;
    } cases[] = {
        {"list.dvb", ListId::TV, "Tv One", false, {}},
        {"list.dvb", ListId::Radio, "Radio One", false, {}},
        {"export.txt", ListId::TV, "Exported", false, {}},
        {"export.txt", ListId::Radio, "", false, {}},
        {"names.txt", ListId::Radio, "B,A", true, {}},
        {"names", ListId::TV, "C", true, {}},
        {"order.lst", ListId::TV, "D", true, {}},
        {"twenty.txt", ListId::TV, "Twenty characters ok,Twenty characters 2!", true, {}},
        {"broken.txt", ListId::TV, nullptr, false, ErrorCode::FieldNotNumber},
        {"binary.txt", ListId::TV, nullptr, true, ErrorCode::NotTextFile},
        {"missing.dvb", ListId::TV, nullptr, false, ErrorCode::CannotOpenFile},
        {"missing.lst", ListId::TV, nullptr, true, ErrorCode::CannotOpenFile},
    };
    for (const auto& c : cases) {
        const auto ref = readOrderReference(dir.file(c.file), c.list);
        if (c.channels == nullptr) {
            ASSERT_FALSE(ref) << c.file;
            EXPECT_EQ(ref.error(), c.error) << c.file;
            continue;
        }
        ASSERT_TRUE(ref) << c.file << ": " << errorText(ref.error());
        EXPECT_EQ(ref->namesOnly, c.names) << c.file;
        std::string got;
        for (const std::string& n : ref->names)
            got += (got.empty() ? "" : ",") + n;
        if (!c.names) got = test::names(ref->channels);
        EXPECT_EQ(got, c.channels) << c.file;
    }
}

}  // namespace
}  // namespace qel
