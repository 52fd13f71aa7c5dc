// The serial window against qel-receiver-sim --pace: the real serial line over a
// pseudo-terminal that carries bytes no faster than the line it stands for. One round trip per
// dialect (DVB98 up and down, an FTA image through the loader, a firmware through the flash
// routine), and Cancel followed by a transfer that waits until the receiver has fallen quiet. These
// take real time (about a minute in all). Input dropped between transfers is the serial window
// test's (a flood beyond any line's speed).
#include <QDir>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include "bytes/checksum.h"
#include "files/dvb_file.h"
#include "serial_fixture.h"
#include "support/paced_receiver.h"
#include "support/serial_line.h"
#include "ui/picture_dialog.h"

namespace qel {

using test::DvbUpload;
using test::FtaUpload;
using test::include;
using test::marks;
using test::PacedReceiver;
using test::Serial;

namespace {

// Waits short enough for a quick test, long enough for every answer at the line's pace.
Timing pacedTiming() {
    Timing t;
    t.timeout = Millis(1500);
    t.pause = Millis(200);
    t.settle = Millis(400);
    return t;
}

ChannelList namedChannels(int count, const std::string& prefix) {
    ChannelList list;
    for (int i = 0; i < count; ++i)
        list.push_back(test::Channel(prefix + std::to_string(i)).Freq("01176600"));
    return list;
}

}  // namespace

class SerialPacedTest : public QObject {
    Q_OBJECT

private slots:
    // DVB98 lists up with the backup before and the check after, as the options have it. Then
    // Cancel stops a download at once; the receiver goes on sending what it was asked for, and
    // the window waits until it has finished before another transfer may start, which then
    // brings the lists back. In Italian, where the window says so in Italian.
    void dvb98UploadThenACancelledDownloadThenADownload() {
        DvbUpload s(280, 20);  // 5 s on the line
        QVERIFY(s.loaded);
        const std::string theirs = encodeDvb(namedChannels(150, "RX "), namedChannels(10, "RX R "));
        std::string settings = test::receiverSettings();
        settings += static_cast<char>(blockChecksum(settings));
        PacedReceiver sim(QStringLiteral(QEL_RECEIVER_SIM),
                          {"--channels", s.write("receiver.dvb", theirs), "--settings",
                           s.write("receiver.g98", settings)});
        QVERIFY(sim.device().startsWith("/dev/"));
        s.overLine(sim.device(), pacedTiming());
        SerialWindow* w = s.open();
        QTRY_COMPARE(s.label(w, "Advise"), QString("Com open"));
        const std::string mine = encodeDvb(s.ws().tvList(), s.ws().radioList());
        s.transfer(w->uploadButton(), 90000);
        QCOMPARE(marks(s, w), QString("OO"));
        QCOMPARE(sim.saved("channels.dvb"), mine);
        QCOMPARE(sim.saved("settings.g98"), test::withChecksum("DVSO" + std::string(1260, '\x11')));
        QCOMPARE(Serial::read(QDir(s.program->serial().lastBackup()).filePath("receiver.dvb")),
                 theirs);
        QVERIFY(s.prompter.texts().isEmpty());

        s.language.apply("ITA");
        include(w, true, false);
        SerialController& serial = s.program->serial();
        w->downloadButton()->click();
        QTRY_COMPARE_WITH_TIMEOUT(s.label(w, "Advise"), QString("DownLoading"), 5000);
        QTest::qWait(1000);
        QElapsedTimer stopping;
        stopping.start();
        w->cancelButton()->click();
        QTRY_VERIFY_WITH_TIMEOUT(!serial.busy(), 1000);
        QVERIFY2(stopping.elapsed() < 500, qPrintable(QString::number(stopping.elapsed())));
        QVERIFY(serial.settling());
        QCOMPARE(s.label(w, "Advise"),
                 QString("Attendo che il ricevitore finisca di trasmettere..."));
        QVERIFY(!w->downloadButton()->isEnabled());
        QVERIFY(w->cancelButton()->isEnabled());
        QVERIFY(s.form->isEnabled());  // the lists may be used meanwhile
        QCOMPARE(marks(s, w), QString("K-"));
        // The rest of the cancelled answer still comes for a few seconds.
        QTRY_VERIFY_WITH_TIMEOUT(!serial.settling(), 15000);
        QVERIFY(stopping.elapsed() > 2000);
        // What the cancelled transfer ended on shows again.
        QCOMPARE(s.label(w, "Advise"), QString("Trasferimento annullato"));
        QVERIFY(w->downloadButton()->isEnabled());
        QCOMPARE(encodeDvb(s.ws().tvList(), s.ws().radioList()), mine);

        s.transfer(w->downloadButton(), 30000);
        QCOMPARE(marks(s, w), QString("O-"));
        QCOMPARE(QFileInfo(s.session.channelFile()).fileName(), QString("Download.dvb"));
        QCOMPARE(encodeDvb(s.ws().tvList(), s.ws().radioList()), mine);
        QVERIFY(s.prompter.texts().isEmpty());
        s.language.apply("ENG");
    }

    void anFtaImageGoesThroughTheLoader() {
        FtaUpload s;
        QVERIFY(s.loaded);
        PacedReceiver sim(QStringLiteral(QEL_RECEIVER_SIM), {"--firmware", "fta"});
        QVERIFY(sim.device().startsWith("/dev/"));
        s.overLine(sim.device(), pacedTiming());
        SerialWindow* w = s.open();
        QTRY_COMPARE(s.label(w, "Advise"), QString("Com open"));
        QCOMPARE(s.label(w, "Status"), QString("19200,N,8,1 "));
        include(w, true, false);
        s.transfer(w->uploadButton(), 90000);
        QCOMPARE(s.prompter.texts(), QStringList{"Unplug Vandu main power"});
        QCOMPARE(marks(s, w), QString("O-"));
        QTRY_COMPARE(sim.saved("flash.bin"), s.savedImage());
    }

    // A firmware upgrade through the flash routine: it arrives whole and ends with its mark.
    // The boot picture and the fonts speak the DVB98 dialect, as the lists do.
    void aFirmwareGoesThroughTheFlashRoutine() {
        Serial s;
        PacedReceiver sim(QStringLiteral(QEL_RECEIVER_SIM), {});
        QVERIFY(sim.device().startsWith("/dev/"));
        s.overLine(sim.device(), pacedTiming());
        SerialWindow* w = s.open();
        QTRY_COMPARE(s.label(w, "Advise"), QString("Com open"));
        const QString routines = s.dir.filePath("routine");
        QDir().mkpath(routines);
        s.write("routine/rodflash.sbr", std::string(1716, '\x5C'));
        s.program->serial().setFlashRoutinePlaces({routines});
        std::string firmware(70000, '\0');
        for (std::size_t i = 0; i < firmware.size(); ++i)
            firmware[i] = static_cast<char>(i / 512);
        s.chooser.choose(s.write("new.bin", firmware));
        s.prompter.answer(Prompter::Answer::Yes);
        s.transfer(w->findChild<QPushButton*>("UpgradeFirmware"), 60000);
        QVERIFY(s.markShown(w, "Ok5"));
        QCOMPARE(sim.saved("firmware.bin"), firmware);
    }
};

}  // namespace qel

QTEST_MAIN(qel::SerialPacedTest)
#include "serial_paced_test.moc"
