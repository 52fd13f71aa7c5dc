// qel-tool lzw: a file compressed as one compress (.Z) stream, or in the firmware's blocks.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "bytes/lzw.h"
#include "files/file_io.h"
#include "serial/firmware.h"
#include "tool_command.h"
#include "tool_common.h"

namespace qel::tool {

namespace {

// Input the lzw command takes (the compressed stream is held until it is saved).
constexpr std::size_t kMaxLzwInputSize = std::size_t{256} << 20;
// How much of the input is read at a time.
constexpr std::size_t kLzwReadSize = std::size_t{1} << 20;

// The file at `path` read from start to end in pieces of at most pieceSize bytes, each
// handed to take(piece) while the next is not yet read; refused as readFileBytes refuses.
// Stops when take returns a failure and returns it.
template <typename Take>
Status readInPieces(const std::string& path, std::size_t maxSize, std::size_t pieceSize,
                    Take take) {
    std::error_code ec;
    const std::filesystem::path file = pathFromUtf8(path);
    if (!std::filesystem::is_regular_file(file, ec)) return ErrorCode::CannotOpenFile;
    const auto size = std::filesystem::file_size(file, ec);
    if (ec) return ErrorCode::CannotOpenFile;
    if (size > maxSize) return ErrorCode::FileTooLarge;
    std::ifstream in(file, std::ios::binary);
    if (!in) return ErrorCode::CannotOpenFile;
    std::string piece;
    // A file that grows while it is read is read only up to the size checked.
    for (auto left = static_cast<std::size_t>(size); left > 0;) {
        piece.resize(std::min(left, pieceSize));
        in.read(piece.data(), static_cast<std::streamsize>(piece.size()));
        if (in.gcount() != static_cast<std::streamsize>(piece.size())) {
            return ErrorCode::CannotOpenFile;
        }
        left -= piece.size();
        if (Status st = take(std::string_view(piece)); !st) return st;
    }
    return {};
}

// IN as one compress (.Z) stream in OUT.
int lzw(const std::string& in, const std::string& out) {
    LzwEncoder encoder;
    std::string stream;
    const Status read =
        readInPieces(in, kMaxLzwInputSize, kLzwReadSize, [&](std::string_view piece) {
            encoder.write(piece, stream);
            return Status{};
        });
    if (!read) return refused(read);
    encoder.finish(stream);
    if (Status st = writeFileAtomic(out, stream); !st) return refused(st);
    return kExitOk;
}

// IN's 64 KB blocks compressed each on its own as a firmware upgrade sends them, in OUT.000,
// OUT.001, ... (more digits from block 1000 on).
int lzwBlocks(const std::string& in, const std::string& out) {
    std::size_t index = 0;
    const Status done =
        readInPieces(in, kMaxLzwInputSize, kFirmwareBlockSize, [&](std::string_view block) {
            char suffix[24];
            std::snprintf(suffix, sizeof suffix, ".%03zu", index++);
            return writeFileAtomic(out + suffix, lzwCompress(block));
        });
    if (!done) return refused(done);
    return kExitOk;
}

int lzwCommand(const Args& args) {
    const std::string& in = args.operands[0];
    const std::string& out = args.operands[1];
    return args.has("--blocks") ? lzwBlocks(in, out) : lzw(in, out);
}

constexpr OptionSpec kOptions[] = {{"--blocks"}};

constexpr Command kCommands[] = {
    {"lzw", "lzw [--blocks] IN OUT",
     "      IN compressed in the Unix compress (.Z) format that gzip -d and\n"
     "      uncompress read, one stream for the whole file. With --blocks, IN's\n"
     "      65536-byte blocks each compressed on its own as a firmware upgrade\n"
     "      sends them, in OUT.000, OUT.001, ...\n",
     kOptions, 2, 2, lzwCommand},
};

}  // namespace

std::span<const Command> lzwCommands() {
    return kCommands;
}

}  // namespace qel::tool
