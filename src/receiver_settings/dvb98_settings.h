// The DVB98 settings block as the two settings windows show it: every control with its
// byte offset, size and codec, read from and written into the hex text of the block.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qel {

enum class SettingCodec {
    Baud,        // a list: bytes 0x08-0x0D are entries 0-5, anything else no entry
    Index,       // a list: the entry is the byte (or word)
    Choice,      // two entries: 0x00 is the first, anything else the second (written as `on`)
    Check,       // a check box: checked when the byte is `on`; unchecked writes `off`
    Number,      // text: the unsigned number in decimal
    PlusOne,     // text: the number plus 1
    TimeOffset,  // text: a signed hour offset kept as two decimal digits
    HexWord,     // text: the 4 hex characters as they stand, written as typed
    HexByte,     // text: the 2 hex characters as they stand
};

struct SettingField {
    const char* name;  // the control
    int offset;        // byte offset in the block
    int size;          // bytes
    SettingCodec codec;
    int on = 0;                             // Choice, Check
    int off = 0;                            // Check
    std::vector<const char*> entries = {};  // lists
};

// The controls of the general settings window and of the further settings window.
std::span<const SettingField> generalSettingFields();
std::span<const SettingField> furtherSettingFields();
const SettingField* findSettingField(std::string_view name);

// What a control shows: a list entry (-1 for none), a check, or a text.
struct SettingValue {
    int index = -1;
    bool checked = false;
    std::string text;
    friend bool operator==(const SettingValue&, const SettingValue&) = default;
};

SettingValue showSetting(std::string_view image, const SettingField& field);

// Writes a control's value into the image. A value equal to what the image shows is
// not written, so a control left alone never changes its bytes; a list without an
// entry leaves them too. Texts that hold no number store 0.
void writeSetting(std::string& image, const SettingField& field, const SettingValue& value);

// The time offset: shown "+03" or "-2"; written back as two decimal digits.
std::string showTimeOffset(std::string_view twoHexChars);
std::string timeOffsetDigits(std::string_view text);

}  // namespace qel
