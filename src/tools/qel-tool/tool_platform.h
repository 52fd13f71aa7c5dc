// What qel-tool asks of the operating system, on POSIX systems and on Windows alike.
#pragma once

#include <string>
#include <vector>

namespace qel::tool {

// The command line's arguments after the program's name, as UTF-8 (on Windows taken from the
// wide-character command line, so that file names outside the ANSI code page arrive whole).
std::vector<std::string> arguments(int argc, char** argv);

// Standard output and error carry the bytes the program writes, as on Linux: on Windows no
// line end becomes CR LF, and the console shows UTF-8.
void prepareStandardStreams();

// Today as the short date the page headers show: dd/mm/yy.
std::string today();

// Whether standard error goes to a terminal (progress is then drawn on one line).
bool stderrIsTerminal();

// Ctrl+C (and a request to end) calls `onInterrupt` once it is set; it must only do what is
// safe there (the link's cancel sets a flag).
void onInterrupt(void (*handler)());

// The folder the running program lies in, empty when it cannot be told.
std::string programFolder();

// The user's own data folder of QEL (~/.local/share/QEL/QEL, or %APPDATA%\QEL\QEL on
// Windows), empty when there is none.
std::string userDataFolder();

}  // namespace qel::tool
