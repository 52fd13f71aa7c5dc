// qel-receiver-sim's saved stores: what the receiver holds, written out as it changes.
#pragma once

#include <array>
#include <cstddef>
#include <iostream>
#include <string>
#include <string_view>

#include "bytes/checksum.h"
#include "files/file_io.h"
#include "receiver_sim/receiver_simulator.h"

namespace qel {

// Writes what the receiver holds into a folder whenever it has changed: channels.dvb,
// settings.g98, flash.bin, sysfont.bin (the 4096 bytes of the set that went up), teletext.bin
// (the 12800 bytes it took), picture1.bmp and picture2.bmp, firmware.bin (the blocks of a
// firmware upgrade, decompressed, in order) with firmware-log.json (each block's target,
// compressed length and checks), each replaced whole.
class StoreWriter {
public:
    StoreWriter(const ReceiverSimulator& sim, std::string dir) : sim_(sim), dir_(std::move(dir)) {
        for (SimStore store : kStores)
            seen_[index(store)] = sim.revision(store);
    }

    void writeChanged() {
        if (dir_.empty()) return;
        for (SimStore store : kStores) {
            const std::size_t revision = sim_.revision(store);
            if (revision == seen_[index(store)]) continue;
            seen_[index(store)] = revision;
            const std::string path = dir_ + "/" + fileName(store);
            write(path, content(store));
            if (store == SimStore::Firmware)
                write(dir_ + "/firmware-log.json", sim_.firmwareLogJson());
        }
    }

private:
    static void write(const std::string& path, std::string_view bytes) {
        if (Status st = writeFileAtomic(path, bytes); !st) {
            std::cerr << "qel-receiver-sim: " << path << ": " << errorText(st.error()) << '\n';
        }
    }
    static constexpr SimStore kStores[] = {
        SimStore::Channels,     SimStore::Settings, SimStore::Flash,    SimStore::SystemFont,
        SimStore::TeletextFont, SimStore::Picture1, SimStore::Picture2, SimStore::Firmware};
    static std::size_t index(SimStore store) { return static_cast<std::size_t>(store); }
    static std::string fileName(SimStore store) {
        switch (store) {
            case SimStore::Channels:
                return "channels.dvb";
            case SimStore::Settings:
                return "settings.g98";
            case SimStore::Flash:
                return "flash.bin";
            case SimStore::SystemFont:
                return "sysfont.bin";
            case SimStore::TeletextFont:
                return "teletext.bin";
            case SimStore::Picture1:
                return "picture1.bmp";
            case SimStore::Picture2:
                return "picture2.bmp";
            case SimStore::Firmware:
                return "firmware.bin";
        }
        return {};
    }
    std::string content(SimStore store) const {
        switch (store) {
            case SimStore::Channels:
                return sim_.channelImage();
            case SimStore::Settings: {
                std::string file = sim_.settingsBlock();
                file += static_cast<char>(blockChecksum(sim_.settingsBlock()));
                return file;
            }
            case SimStore::Flash:
                return sim_.flash();
            case SimStore::SystemFont:
                return sim_.systemFont();
            case SimStore::TeletextFont:
                return sim_.teletextFont();
            case SimStore::Picture1:
                return sim_.pictureFile(1);
            case SimStore::Picture2:
                return sim_.pictureFile(2);
            case SimStore::Firmware:
                return sim_.firmware();
        }
        return {};
    }

    const ReceiverSimulator& sim_;
    std::string dir_;
    std::array<std::size_t, kSimStores> seen_{};
};

}  // namespace qel
