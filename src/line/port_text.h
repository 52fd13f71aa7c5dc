// How the serial line reads a port text, on every system: blanks around it do not count, and
// "3", "COM3" and "com3" name port number 3. Only the line floor sees this.
#pragma once

#include <string_view>

namespace qel::line {

struct PortText {
    std::string_view text;  // without the blanks around it
    int number = 0;         // the port it names, 1 to the highest asked for; 0 for none
};

inline PortText readPortText(std::string_view portText, int highest) {
    PortText port{portText};
    while (!port.text.empty() && port.text.front() == ' ')
        port.text.remove_prefix(1);
    while (!port.text.empty() && port.text.back() == ' ')
        port.text.remove_suffix(1);
    std::string_view digits = port.text;
    if (digits.size() > 3 && (digits.substr(0, 3) == "COM" || digits.substr(0, 3) == "com")) {
        digits.remove_prefix(3);
    }
    // No leading zero, and no more digits than the highest number has.
    if (digits.empty() || digits.size() > 3 || digits[0] == '0') return port;
    int number = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') return port;
        number = number * 10 + (c - '0');
    }
    if (number <= highest) port.number = number;
    return port;
}

}  // namespace qel::line
