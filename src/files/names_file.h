// The reference of "Order like another list": a channel file of any format the program reads,
// or a names file, a plain text of channel names one a line that a user writes by hand.
//
// A names file is UTF-8 (a byte-order mark skipped) or, when its bytes are not UTF-8, one
// byte a character (Latin-1), as the channel names are. Lines end in LF, CR LF or CR; blanks
// and tabs at both ends of a line are dropped and blank lines skipped. Refused: a file above
// kMaxNamesFileSize (FileTooLarge), one holding a control character other than tab, LF and CR
// (NotTextFile; a UTF-16 file is one), a character above 255 (CharacterNotLatin1, the line in
// the detail), a file with no name at all (NoChannelsInFile).
//
// Which one a file is: a name ending in an extension of a channel format other than the
// text export's (.dvb, .bin, .csv) is a channel file; a .txt file is a channel file when the
// text import reads it and finds a channel in it (not only satellite headers, which any line
// of 20 characters would be) or refuses it for something else than a line's length, and a
// names file otherwise; a file of any other name is a names file.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "model/channel_lists.h"
#include "model/errors.h"

namespace qel {

// No hand-written list of names comes near this (the largest list's names take 70 kB).
inline constexpr std::size_t kMaxNamesFileSize = 1024 * 1024;

// The names of a names file's bytes, in file order, as 8-bit characters.
Result<std::vector<std::string>> parseNames(std::string_view bytes);
Result<std::vector<std::string>> readNamesFile(const std::string& path);

// What a list is ordered like: the same list (TV or RADIO) of a channel file, or names.
struct OrderReference {
    bool namesOnly = false;
    ChannelList channels;  // when !namesOnly
    std::vector<std::string> names;
};

// Reads `path` as the reference for the list `list`, deciding as above.
Result<OrderReference> readOrderReference(const std::string& path, ListId list);

}  // namespace qel
