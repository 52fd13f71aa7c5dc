// qel-tool: the program's file formats from the command line.
//   qel-tool dump FILE               the content of a .dvb, .bin or .g98 file as JSON
//   qel-tool convert IN OUT          read IN and write OUT through the program's own code
//   qel-tool upgrade LOADED OTHER    the records "Upgrade from file" would add to the buffer
//   qel-tool sample FILE.dvb|.g98    write a sample channel list or DVB98 settings file
// Exit status: 0 done, 1 wrong usage, 2 an input refused (the message on stderr).
#include <iostream>
#include <string>
#include <vector>

#include "json_out.h"
#include "model/errors.h"
#include "model/file_commands.h"
#include "model/g98_file.h"
#include "model/workspace.h"
#include "sample_list.h"

namespace {

using namespace qel;

constexpr int kExitOk = 0;
constexpr int kExitUsage = 1;
constexpr int kExitRefused = 2;

int Usage() {
    std::cerr << "usage:\n"
                 "  qel-tool dump FILE\n"
                 "  qel-tool convert IN OUT\n"
                 "  qel-tool upgrade LOADED.dvb OTHER.dvb\n"
                 "  qel-tool sample FILE.dvb|FILE.g98\n";
    return kExitUsage;
}

int Refused(Status st) {
    std::cerr << EnglishMessage(st.error()) << '\n';
    return kExitRefused;
}

int UnsupportedType(const std::string& path) {
    std::cerr << "qel-tool: unsupported file type: " << path << '\n';
    return kExitUsage;
}

int DumpDvb(const std::string& path) {
    Workspace ws;
    if (Status st = LoadChannels(ws, path); !st) return Refused(st);
    std::cout << R"({"file_type":"DVB","tv":)" << tool::JsonChannelArray(ws.TVList)
              << R"(,"radio":)" << tool::JsonChannelArray(ws.RadioList) << "}\n";
    return kExitOk;
}

int DumpG98(const std::string& path) {
    Workspace ws;
    if (Status st = OpenDVB98Settings(ws, path); !st) return Refused(st);
    std::cout << R"({"file_type":"G98","loaded":)"
              << (SettingsImageLoaded(ws.DVB98Settings) ? "true" : "false") << R"(,"image":)"
              << tool::JsonString(ws.DVB98Settings) << "}\n";
    return kExitOk;
}

int DumpBin(const std::string& path) {
    Workspace ws;
    if (Status st = LoadChannels(ws, path); !st) return Refused(st);
    std::cout << R"({"file_type":"BIN","tv":)" << tool::JsonChannelArray(ws.TVList)
              << R"(,"radio":)" << tool::JsonChannelArray(ws.RadioList) << R"(,"image":)"
              << tool::JsonImageTables(ws.ImageTables) << "}\n";
    return kExitOk;
}

int Dump(const std::string& path) {
    const std::string ext = FileExtension3(path);
    if (ext == "DVB") return DumpDvb(path);
    if (ext == "BIN") return DumpBin(path);
    if (ext == "G98") return DumpG98(path);
    return UnsupportedType(path);
}

int Convert(const std::string& in, const std::string& out) {
    const std::string from = FileExtension3(in);
    const std::string to = FileExtension3(out);
    Workspace ws;
    const bool channels = (from == "DVB" || from == "BIN") && (to == "DVB" || to == "BIN");
    if (channels) {
        if (Status st = LoadChannels(ws, in); !st) return Refused(st);
        // A DVB98 list becomes an image the way "Convert to bin" makes one.
        ws.ConvertToBin = from == "DVB" && to == "BIN";
    } else if (from == "G98" && to == "G98") {
        if (Status st = OpenDVB98Settings(ws, in); !st) return Refused(st);
    } else {
        std::cerr << "qel-tool: cannot convert " << in << " to " << out << '\n';
        return kExitUsage;
    }
    if (Status st = Save_File(ws, out); !st) return Refused(st);
    return kExitOk;
}

int Upgrade(const std::string& loaded, const std::string& other) {
    if (FileExtension3(loaded) != "DVB") return UnsupportedType(loaded);
    if (FileExtension3(other) != "DVB") return UnsupportedType(other);
    Workspace ws;
    if (Status st = LoadChannels(ws, loaded); !st) return Refused(st);
    if (Status st = UpgradeFromFile(ws, other); !st) return Refused(st);
    std::cout << R"({"buffer":)" << tool::JsonChannelArray(ws.BufferList) << "}\n";
    return kExitOk;
}

int Sample(const std::string& path) {
    Workspace ws;
    if (FileExtension3(path) == "G98") {
        ws.DVB98Settings = tool::MakeSampleSettings();
        if (Status st = Save_File(ws, path); !st) return Refused(st);
        return kExitOk;
    }
    if (FileExtension3(path) != "DVB") return UnsupportedType(path);
    auto lists = tool::MakeSampleLists();
    ws.TVList = std::move(lists.tv);
    ws.RadioList = std::move(lists.radio);
    ws.FileType = FileKind::DVB;
    if (Status st = Save_File(ws, path); !st) return Refused(st);
    return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 2 && args[0] == "dump") return Dump(args[1]);
    if (args.size() == 3 && args[0] == "convert") return Convert(args[1], args[2]);
    if (args.size() == 3 && args[0] == "upgrade") return Upgrade(args[1], args[2]);
    if (args.size() == 2 && args[0] == "sample") return Sample(args[1]);
    return Usage();
}
