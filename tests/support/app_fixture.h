// What the application's tests build on: a fresh session working in a folder of test files,
// the configuration and the recent files kept in that folder, the language, and scripted
// dialogs; with the makers of the channel, settings and image files the tests load.
#pragma once

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <string>

#include "app/config_store.h"
#include "app/language.h"
#include "app/recent_files.h"
#include "app/session.h"
#include "support/channel_builder.h"
#include "support/fta_image_builder.h"
#include "support/scripted_ui.h"

namespace qel::test {

struct AppFixture {
    QTemporaryDir dir;
    QSettings settings{dir.filePath("qel.ini"), QSettings::IniFormat};
    ConfigStore store{settings, QDir::homePath()};
    RecentFiles recent{settings};
    Language language;
    Session session;
    ScriptedPrompter prompter;
    ScriptedChooser chooser;

    AppFixture() {
        QStandardPaths::setTestModeEnabled(true);
        session.setWorkingDir(dir.path());
    }

    Workspace& ws() { return session.workspace(); }

    QString write(const QString& name, const std::string& bytes) const {
        const QString path = dir.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(bytes.data(), static_cast<qint64>(bytes.size()));
        return path;
    }

    static std::string read(const QString& path) {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return f.readAll().toStdString();
    }

    // A .dvb of `tv` TV channels (the first a satellite header) and `radio` RADIO channels.
    QString dvb(const QString& name, int tv, int radio) const {
        std::string bytes;
        for (int i = 0; i < tv; ++i) {
            bytes += DvbRecord()
                         .name(i == 0 ? std::string("--- SAT ---") : "TV " + std::to_string(i))
                         .freqMHz(i == 0 ? 0 : 11000 + static_cast<unsigned>(i))
                         .srateKs(27500)
                         .fecCode(4)
                         .VPid(0x100 + static_cast<unsigned>(i))
                         .APid(i == 0 ? 1 : 0x200)
                         .Parental(i == 2);
        }
        for (int i = 0; i < radio; ++i) {
            bytes += DvbRecord().type(2).name("RADIO " + std::to_string(i)).freqMHz(12000);
        }
        return write(name, bytes);
    }

    // A DVB98 list whose first TV name holds an 8-bit character.
    QString accented() const {
        std::string bytes = DvbRecord().name("Caf\xE9 TV").freqMHz(11766).srateKs(27500);
        bytes += DvbRecord().type(2).name("RADIO").freqMHz(12000);
        return write("accent.dvb", bytes);
    }

    QString g98(const QString& name) const {
        std::string block = "DVSO" + std::string(1260, '\x11');
        unsigned char sum = 0x55;
        for (char c : block)
            sum = static_cast<unsigned char>(sum ^ static_cast<unsigned char>(c));
        return write(name, block + static_cast<char>(sum));
    }

    QString bin(const QString& name) const {
        return write(name, FtaImage()
                               .add(0x87AA, channelEntry("FTA TV", 1, 2, 3, 0))
                               .add(0x9001, tunedTransponder(1, 2, 0x0020, 8, "01176600", "013", 1,
                                                             0, "275000", 3))
                               .add(0x9000, word16(1))
                               .add(0xE505, std::string("ANT ONE") + std::string(57, '\0'))
                               .build());
    }

    // A font of `size` bytes whose glyph n has every row equal to n (mod 256), so that each
    // glyph is told apart; a second set (from byte 4096) has its rows 7 higher.
    QString font(const QString& name, std::size_t size, int rowsPerGlyph) const {
        std::string bytes(size, '\0');
        for (std::size_t i = 0; i < size; ++i)
            bytes[i] = static_cast<char>((i / rowsPerGlyph + 7 * (i >= 4096)) & 0xFF);
        return write(name, bytes);
    }
};

}  // namespace qel::test
