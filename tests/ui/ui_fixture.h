// A main window over a fresh session, with scripted dialogs and a folder of test files.
#pragma once

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <memory>

#include "app/session.h"
#include "support/channel_builder.h"
#include "support/fta_image_builder.h"
#include "support/scripted_ui.h"
#include "ui/file_commands.h"
#include "ui/main_form.h"

namespace qel::test {

struct UiFixture {
    QTemporaryDir dir;
    Session session;
    ScriptedPrompter prompter;
    ScriptedChooser chooser;
    std::unique_ptr<MainForm> form;

    UiFixture() {
        QStandardPaths::setTestModeEnabled(true);
        session.workingDir = dir.path();
        form = std::make_unique<MainForm>(session, prompter, chooser);
        form->Load();
        prompter.asked.clear();
    }

    QString Write(const QString& name, const std::string& bytes) const {
        const QString path = dir.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(bytes.data(), static_cast<qint64>(bytes.size()));
        return path;
    }

    static std::string Read(const QString& path) {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return f.readAll().toStdString();
    }

    // A .dvb of `tv` TV channels (the first a satellite header) and `radio` RADIO channels.
    QString Dvb(const QString& name, int tv, int radio) const {
        std::string bytes;
        for (int i = 0; i < tv; ++i) {
            bytes += DvbRecord()
                         .Name(i == 0 ? std::string("--- SAT ---") : "TV " + std::to_string(i))
                         .FreqMHz(i == 0 ? 0 : 11000 + static_cast<unsigned>(i))
                         .SrateKs(27500)
                         .FecCode(4)
                         .VPid(0x100 + static_cast<unsigned>(i))
                         .APid(i == 0 ? 1 : 0x200)
                         .Parental(i == 2);
        }
        for (int i = 0; i < radio; ++i) {
            bytes += DvbRecord().Type(2).Name("RADIO " + std::to_string(i)).FreqMHz(12000);
        }
        return Write(name, bytes);
    }

    QString G98(const QString& name) const {
        std::string block = "DVSO" + std::string(1260, '\x11');
        unsigned char sum = 0x55;
        for (char c : block)
            sum = static_cast<unsigned char>(sum ^ static_cast<unsigned char>(c));
        return Write(name, block + static_cast<char>(sum));
    }

    QString Bin(const QString& name) const {
        return Write(name, FtaImage()
                               .Add(0x87AA, ChannelEntry("FTA TV", 1, 2, 3, 0))
                               .Add(0x9001, TunedTransponder(1, 2, 0x0020, 8, "01176600", "013", 1,
                                                             0, "275000", 3))
                               .Add(0x9000, W(1))
                               .Add(0xE505, std::string("ANT ONE") + std::string(57, '\0'))
                               .Build());
    }

    bool Load(const QString& path) {
        chooser.Choose(path);
        form->files().Load_Channel_Click();
        return session.channelFile == path;
    }
};

}  // namespace qel::test
