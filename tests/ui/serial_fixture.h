// The serial window over a simulated receiver: the program with its serial controller
// given a line to a ReceiverSimulator (or one on which nothing arrives), and the steps the
// serial window tests share.
#pragma once

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QThread>
#include <QtTest>
#include <fstream>
#include <memory>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "files/dvb_file.h"
#include "files/file_commands.h"
#include "receiver_sim/receiver_simulator.h"
#include "receiver_sim/simulated_link.h"
#include "ui/picture_dialog.h"
#include "ui/serial_window.h"
#include "ui_fixture.h"

namespace qel::test {

// A simulated line that keeps its receiver alive as long as it lives.
class OwnedSimLink : public SimulatedLink {
public:
    explicit OwnedSimLink(std::shared_ptr<ReceiverSimulator> receiver)
        : SimulatedLink(*receiver), receiver_(std::move(receiver)) {}

private:
    std::shared_ptr<ReceiverSimulator> receiver_;
};

// A line on which nothing ever arrives: each wait takes real time until it is cancelled. Its
// speed changes may take a while, holding up the transfer thread.
class StuckLink : public Link {
public:
    explicit StuckLink(unsigned long speedChangeMs = 0) : speedChangeMs_(speedChangeMs) {}
    Status setSpeed(int) override {
        QThread::msleep(speedChangeMs_);
        return {};
    }
    void setRts(bool) override {}
    void setDtr(bool) override {}
    Status write(std::string_view) override { return {}; }
    bool drain(Millis) override { return true; }
    Status receive(std::string&, Millis timeout) override {
        const auto end = now() + timeout;
        while (!cancelled() && now() < end)
            QThread::msleep(5);
        return {};
    }
    void pause(Millis duration) override {
        std::string none;
        (void)receive(none, duration);
    }
    std::chrono::steady_clock::time_point now() const override {
        return std::chrono::steady_clock::now();
    }

private:
    unsigned long speedChangeMs_;
};

// Answers the picture's question without a dialog, and keeps what it was shown.
class ScriptedApprover : public PictureApprover {
public:
    bool approve(const PreparedPicture& picture, const QString&) override {
        ++asked;
        lastUnchanged = picture.unchanged;
        return answer;
    }
    bool answer = true;
    int asked = 0;
    bool lastUnchanged = false;
};

#ifndef _WIN32
// The resident memory of this process (Linux).
inline long residentBytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return resident * ::sysconf(_SC_PAGESIZE);
}
#endif

inline std::string receiverChannels() {
    ChannelList tv;
    for (int i = 0; i < 5; ++i)
        tv.push_back(Channel("RX TV " + std::to_string(i)).Freq("01176600"));
    return encodeDvb(tv, {Channel("RX RADIO").Freq("01200000")});
}

inline std::string receiverSettings() {
    return "DVSO" + std::string(1260, '\x22');
}

struct Serial : UiFixture {
    // The lines the serial controller opens: to the simulated receiver, a stuck line, or none.
    class Lines : public LinkOpener {
    public:
        explicit Lines(Serial& s) : s_(s) {}
        Result<std::unique_ptr<Link>> open(const QString&, int) override {
            if (!s_.portOpens) return s_.openFailure;
            if (s_.stuck)
                return std::unique_ptr<Link>(std::make_unique<StuckLink>(s_.speedChangeMs));
            return std::unique_ptr<Link>(std::make_unique<OwnedSimLink>(s_.receiver));
        }

    private:
        Serial& s_;
    };

    std::shared_ptr<ReceiverSimulator> receiver = std::make_shared<ReceiverSimulator>();
    bool portOpens = true;
    Status openFailure = Error{ErrorCode::PortError, "/dev/ttyS0: No such file or directory"};
    bool stuck = false;
    unsigned long speedChangeMs = 0;
    Lines lines{*this};
    ScriptedApprover approver;
    virtual ~Serial() = default;
    explicit Serial(bool realMessageBoxes = false) : UiFixture(realMessageBoxes) {
        program->serial().setBackupRoot(dir.filePath("backups"));
        receiver->setChannelImage(receiverChannels());
        receiver->setSettingsBlock(receiverSettings());
        program->serial().setLinkOpener(lines);
    }
    SerialWindow* open() {
        form->selectTab(Tab::Serial);
        auto* w = qobject_cast<SerialWindow*>(form->openChild());
        if (w != nullptr) {
            QSignalSpy portChanged(&program->serial(), &SerialController::portChanged);
            if (!program->serial().portOpen() && portOpens) portChanged.wait(2000);
        }
        return w;
    }
    // Presses the download (upload) button and waits for the transfer to end.
    void download(SerialWindow* w) { transfer(w->downloadButton()); }
    void upload(SerialWindow* w) { transfer(w->uploadButton()); }
    // Waits also for the line to fall quiet after a transfer that failed.
    void transfer(QPushButton* button, int timeoutMs = 5000) {
        QSignalSpy busy(&program->serial(), &SerialController::busyChanged);
        button->click();
        QTRY_VERIFY_WITH_TIMEOUT(
            !program->serial().busy() && !program->serial().settling() && busy.size() >= 2,
            timeoutMs);
    }
    // The transfers go over the real serial line to `device`, with shorter waits.
    void overLine(const QString& device, const Timing& timing) {
        Config config = session.config();
        config.comPortText = device;
        session.setConfig(config);
        program->serial().setLinkOpener(TransferRunner::serialPorts());
        program->serial().setTiming(timing);
    }
    QString label(SerialWindow* w, const char* name) const {
        return w->findChild<QLabel*>(name)->text();
    }
    bool markShown(SerialWindow* w, const QString& name) const {
        return !w->findChild<QLabel*>(name)->isHidden();
    }
};

// The marks as a short text: "O" Ok, "K" Ko, "S" skipped, "-" hidden, for the first `count` of
// them (channels, settings, ...).
inline QString marks(Serial& s, SerialWindow* w, int count = 2) {
    QString out;
    for (int i = 0; i < count; ++i) {
        if (s.markShown(w, QStringLiteral("Ok%1").arg(i))) {
            out += 'O';
        } else if (s.markShown(w, QStringLiteral("Ko%1").arg(i))) {
            out += 'K';
        } else if (const auto* skipped = w->findChild<QLabel*>(QStringLiteral("Skipped%1").arg(i));
                   skipped != nullptr && !skipped->isHidden()) {
            out += 'S';
        } else {
            out += '-';
        }
    }
    return out;
}

inline void include(SerialWindow* w, bool channels, bool settings) {
    w->findChild<QCheckBox*>("IncludeCh")->setChecked(channels);
    w->findChild<QCheckBox*>("IncludeDVBsett")->setChecked(settings);
}

// A session with DVB98 channels and settings loaded.
struct DvbUpload : Serial {
    explicit DvbUpload(int tv = 3, int radio = 1) {
        loaded = load(dvb("mine.dvb", tv, radio));
        chooser.choose(g98("mine.g98"));
        files().loadSettings();
        loaded = loaded && ws().settingsLoaded();
    }
    bool loaded = false;
};

// A session with an FTA image loaded and a receiver that is the FTA loader.
struct FtaUpload : Serial {
    explicit FtaUpload(bool realMessageBoxes = false) : Serial(realMessageBoxes) {
        loaded = load(bin("mine.bin"));
        receiver->setDialect(ReceiverSimulator::Dialect::FtaLoader);
    }
    // The image saving the lists writes.
    std::string savedImage() {
        const QString path = dir.filePath("saved.bin");
        return saveFile(ws(), path.toStdString()) ? read(path) : std::string();
    }
    bool loaded = false;
};

}  // namespace qel::test
