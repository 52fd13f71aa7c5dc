// qel-tool: the program's file formats from the command line.
//   qel-tool dump FILE               the content of a .dvb, .bin or .g98 file as JSON
//   qel-tool convert IN OUT          read IN and write OUT through the program's own code
//   qel-tool upgrade LOADED OTHER    the records "Upgrade from file" would add to the buffer
//   qel-tool sample FILE.dvb|.g98    write a sample channel list or DVB98 settings file
// cancel status: 0 done, 1 wrong usage, 2 an input refused (the message on stderr).
#include <iostream>
#include <string>
#include <vector>

#include "files/file_commands.h"
#include "files/g98_file.h"
#include "json_out.h"
#include "model/errors.h"
#include "model/workspace.h"
#include "sample_list.h"

namespace {

using namespace qel;

constexpr int kExitOk = 0;
constexpr int kExitUsage = 1;
constexpr int kExitRefused = 2;

int usage() {
    std::cerr << "usage:\n"
                 "  qel-tool dump FILE\n"
                 "  qel-tool convert IN OUT\n"
                 "  qel-tool upgrade LOADED.dvb OTHER.dvb\n"
                 "  qel-tool sample FILE.dvb|FILE.g98\n";
    return kExitUsage;
}

int refused(const Status& st) {
    std::cerr << errorText(st.error());
    if (!st.detail().empty()) std::cerr << " (" << st.detail() << ')';
    std::cerr << '\n';
    return kExitRefused;
}

// Reads a channel file into a fresh document.
Status loadInto(Workspace& ws, const std::string& path) {
    auto set = readChannelFile(path);
    if (!set) return set.status();
    ws.installChannels(std::move(set.value()));
    return {};
}

Status loadSettingsInto(Workspace& ws, const std::string& path) {
    auto image = readSettingsFile(path);
    if (!image) return image.status();
    ws.installSettings(std::move(image.value()));
    return {};
}

int unsupportedType(const std::string& path) {
    std::cerr << "qel-tool: unsupported file type: " << path << '\n';
    return kExitUsage;
}

int dumpDvb(const std::string& path) {
    Workspace ws;
    if (Status st = loadInto(ws, path); !st) return refused(st);
    std::cout << R"({"file_type":"DVB","tv":)" << tool::jsonChannelArray(ws.tvList())
              << R"(,"radio":)" << tool::jsonChannelArray(ws.radioList()) << "}\n";
    return kExitOk;
}

int dumpG98(const std::string& path) {
    Workspace ws;
    if (Status st = loadSettingsInto(ws, path); !st) return refused(st);
    std::cout << R"({"file_type":"G98","loaded":)"
              << (settingsImageLoaded(ws.settingsImage()) ? "true" : "false") << R"(,"image":)"
              << tool::jsonString(ws.settingsImage()) << "}\n";
    return kExitOk;
}

int dumpBin(const std::string& path) {
    Workspace ws;
    if (Status st = loadInto(ws, path); !st) return refused(st);
    std::cout << R"({"file_type":"BIN","tv":)" << tool::jsonChannelArray(ws.tvList())
              << R"(,"radio":)" << tool::jsonChannelArray(ws.radioList()) << R"(,"image":)"
              << tool::jsonImageTables(ws.imageTables()) << "}\n";
    return kExitOk;
}

int dump(const std::string& path) {
    const std::string ext = fileExtension3(path);
    if (ext == "DVB") return dumpDvb(path);
    if (ext == "BIN") return dumpBin(path);
    if (ext == "G98") return dumpG98(path);
    return unsupportedType(path);
}

int convert(const std::string& in, const std::string& out) {
    const std::string from = fileExtension3(in);
    const std::string to = fileExtension3(out);
    Workspace ws;
    const bool channels = (from == "DVB" || from == "BIN") && (to == "DVB" || to == "BIN");
    SaveOptions options;
    if (channels) {
        if (Status st = loadInto(ws, in); !st) return refused(st);
        // A DVB98 list becomes an image the way "Convert to bin" makes one.
        options.convertToBin = from == "DVB" && to == "BIN";
    } else if (from == "G98" && to == "G98") {
        if (Status st = loadSettingsInto(ws, in); !st) return refused(st);
    } else {
        std::cerr << "qel-tool: cannot convert " << in << " to " << out << '\n';
        return kExitUsage;
    }
    if (Status st = saveFile(ws, out, options); !st) return refused(st);
    return kExitOk;
}

int upgrade(const std::string& loaded, const std::string& other) {
    if (fileExtension3(loaded) != "DVB") return unsupportedType(loaded);
    if (fileExtension3(other) != "DVB") return unsupportedType(other);
    Workspace ws;
    if (Status st = loadInto(ws, loaded); !st) return refused(st);
    if (Status st = upgradeFromFile(ws, other); !st) return refused(st);
    std::cout << R"({"buffer":)" << tool::jsonChannelArray(ws.bufferList()) << "}\n";
    return kExitOk;
}

int sample(const std::string& path) {
    Workspace ws;
    if (fileExtension3(path) == "G98") {
        ws.installSettings(tool::makeSampleSettings());
        if (Status st = saveFile(ws, path); !st) return refused(st);
        return kExitOk;
    }
    if (fileExtension3(path) != "DVB") return unsupportedType(path);
    ws.installChannels({tool::makeSampleLists(), FileKind::DVB, {}});
    if (Status st = saveFile(ws, path); !st) return refused(st);
    return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 2 && args[0] == "dump") return dump(args[1]);
    if (args.size() == 3 && args[0] == "convert") return convert(args[1], args[2]);
    if (args.size() == 3 && args[0] == "upgrade") return upgrade(args[1], args[2]);
    if (args.size() == 2 && args[0] == "sample") return sample(args[1]);
    return usage();
}
