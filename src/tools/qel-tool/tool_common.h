// What every qel-tool command shares: its exit statuses, how it refuses, and the one way it
// reads a channel file.
#pragma once

#include <string>
#include <string_view>

#include "model/errors.h"
#include "model/workspace.h"

namespace qel::tool {

constexpr int kExitOk = 0;
constexpr int kExitUsage = 1;      // wrong usage, or an output of a type the command cannot write
constexpr int kExitRefused = 2;    // an input refused, a transfer failed, a check's errors
constexpr int kExitDifferent = 3;  // diff: the files differ; check: warnings only

// The import's message for `st` (exit 2).
int refused(const Status& st);
// "qel-tool: PATH: message" (exit 2).
int refusedFile(const std::string& path, const Status& st);
// "qel-tool: unsupported file type: PATH": an input (exit 2) or an output (exit 1).
int unsupportedInput(const std::string& path);
int unsupportedOutput(const std::string& path);
// The message of a failed part, the part named in its detail: "Text (part: detail)".
void reportFailure(std::string_view part, const Status& st);
// The same, exit 2.
int failed(std::string_view part, const Status& st);

// "The import compatible form needs a DVB98 channel list" (exit 2).
int importFormOfImage();

}  // namespace qel::tool
