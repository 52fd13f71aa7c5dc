// The files of a firmware upgrade: the flash routine supplied with the program, and the
// firmware file the user chooses.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "model/errors.h"

namespace qel {

inline constexpr std::string_view kFlashRoutineFileName = "rodflash.sbr";
// The routine goes to the receiver as exactly this many bytes.
inline constexpr std::size_t kFlashRoutineSize = 1716;
// No receiver's flash holds more.
inline constexpr std::size_t kMaxFirmwareSize = std::size_t{16} << 20;

// The first of the folders that holds the flash routine file; NoFlashRoutine naming every
// folder, one a line, when none does.
Result<std::string> findFlashRoutine(const std::vector<std::string>& folders);

// The routine as it is sent: a shorter file padded with zero bytes, a longer one cut. An
// empty file holds no routine and is refused with NoFlashRoutine.
Result<std::string> readFlashRoutine(const std::string& path);

// The whole firmware file; an empty one is refused with EmptyFirmware, one larger than any
// flash with FileTooLarge.
Result<std::string> readFirmwareFile(const std::string& path);

}  // namespace qel
