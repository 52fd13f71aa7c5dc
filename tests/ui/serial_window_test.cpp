// The serial window over a simulated receiver: its texts, the download with its questions,
// messages and marks, a port that will not open, and Cancel and the close check while a
// transfer runs.
#include "ui/serial_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QThread>
#include <QtTest>

#include "app/language.h"
#include "bytes/checksum.h"
#include "files/dvb_file.h"
#include "receiver_sim/receiver_simulator.h"
#include "receiver_sim/simulated_link.h"
#include "serial_fixture.h"

namespace qel {

using test::receiverChannels;
using test::receiverSettings;
using test::Serial;
using Answer = Prompter::Answer;

class SerialWindowTest : public QObject {
    Q_OBJECT

private slots:
    void textsInBothLanguages() {
        Serial s;
        SerialWindow* w = s.open();
        QVERIFY(w != nullptr);
        QCOMPARE(w->windowTitle(), QString("QEL 8.5 Serial module  for firmware upgrade "));
        QCOMPARE(s.label(w, "Bytel"), QString("Bytes used"));
        QCOMPARE(w->findChild<QCheckBox*>("IncludeDVBsett")->text(), QString("Sett&ings"));
        QCOMPARE(w->findChild<QPushButton*>("Download")->text(), QString("&Vandu --> PC"));
        QCOMPARE(w->findChild<QPushButton*>("Upload")->text(), QString("PC --> Va&ndu"));
        QCOMPARE(s.label(w, "Advise"), QString("Com open"));
        QCOMPARE(s.label(w, "Status"), QString("38400,N,8,1 "));
        QCOMPARE(s.label(w, "Port"), QString(" COM 1"));
        Language language;
        language.apply("ITA");
        QTRY_COMPARE(s.label(w, "Bytel"), QString("Bytes usati"));
        QCOMPARE(s.label(w, "Chlab"), QString("Canali in lista"));
        QCOMPARE(w->findChild<QCheckBox*>("IncludeCh")->text(), QString("&Canali"));
        QCOMPARE(w->findChild<QPushButton*>("UploadPic")->text(), QString(" Upload &Immagine"));
        language.apply("ENG");
        QVERIFY(w->findChild<QPushButton*>("Upload")->isEnabled());
        QVERIFY(w->findChild<QCheckBox*>("IncludeSysFon")->isEnabled());
        QVERIFY(!w->findChild<QRadioButton*>("Font2")->isEnabled());  // no two-set font loaded
        QVERIFY(w->findChild<QPushButton*>("UpgradeFirmware")->isEnabled());
    }

    void downloadFetchesChannelsAndSettings() {
        Serial s;
        QVERIFY(s.load(s.dvb("mine.dvb", 3, 0)));
        SerialWindow* w = s.open();
        QCOMPARE(s.label(w, "LByte"), QString("192"));
        QCOMPARE(s.label(w, "Ch2ser"), QString("3"));
        QSignalSpy busy(&s.program->serial(), &SerialController::busyChanged);
        s.download(w);
        QCOMPARE(busy.first().at(0).toBool(), true);  // the main window waited meanwhile
        QVERIFY(s.form->isEnabled());
        QVERIFY(!s.session.transferBusy());
        QCOMPARE(s.ws().tvList().size(), 5u);
        QCOMPARE(s.ws().radioList().size(), 1u);
        QCOMPARE(s.ws().tvList()[0].ChName.view().substr(0, 7), "RX TV 0");
        QVERIFY(!s.ws().channelsModified());
        QCOMPARE(QFileInfo(s.session.channelFile()).fileName(), QString("Download.dvb"));
        QVERIFY(s.ws().settingsLoaded());
        QCOMPARE(s.ws().settingsImage().substr(8, 4), std::string("2222"));
        QCOMPARE(QFileInfo(s.session.settingsFile()).fileName(), QString("Download.g98"));
        QVERIFY(s.markShown(w, "Ok0") && s.markShown(w, "Ok1"));
        QVERIFY(!s.markShown(w, "Ko0") && !s.markShown(w, "Ko1"));
        QVERIFY(s.prompter.asked.isEmpty());
        QVERIFY(!s.editing().canUndo());  // a new history for the new lists
    }

    void unsavedChannelsAreAskedAboutAndKeptOnNo() {
        Serial s;
        QVERIFY(s.load(s.dvb("mine.dvb", 3, 0)));
        s.ws().setChannelsModified(true);
        SerialWindow* w = s.open();
        w->findChild<QCheckBox*>("IncludeDVBsett")->setChecked(false);
        s.prompter.answer(Answer::No);
        s.download(w);
        QCOMPARE(s.prompter.texts(), QStringList{"Channels not saved , continue anyway ?"});
        QCOMPARE(s.prompter.asked[0].defaultAnswer, Answer::No);
        QCOMPARE(s.ws().tvList().size(), 3u);
        QVERIFY(s.ws().channelsModified());
        QVERIFY(s.markShown(w, "Ko0"));
        // Yes, then a failing transfer: the edited lists stay unsaved.
        s.receiver->addFault({SimFault::WrongChecksum, SimCommand::ChannelData, 0});
        s.prompter.answer(Answer::Yes);
        s.download(w);
        QCOMPARE(s.prompter.texts().last(), QString("Error during download"));
        QCOMPARE(s.ws().tvList().size(), 3u);
        QVERIFY(s.ws().channelsModified());
        QVERIFY(s.markShown(w, "Ko0"));
    }

    void aPortThatWillNotOpen() {
        Serial s;
        s.portOpens = false;
        s.form->selectTab(Tab::Serial);
        auto* w = qobject_cast<SerialWindow*>(s.form->openChild());
        QTRY_COMPARE(s.label(w, "Advise"), QString("Error on COM"));
        QVERIFY(!w->findChild<QGroupBox*>("Frame1")->isEnabled());
        QVERIFY(!w->findChild<QGroupBox*>("Frame3")->isEnabled());
        QVERIFY(w->findChild<QGroupBox*>("Frame2")->isEnabled());
    }

    void cancelStopsATransferAtOnceAndCloseWaitsForIt() {
        Serial s;
        QVERIFY(s.load(s.dvb("mine.dvb", 3, 0)));
        const ChannelList before = s.ws().tvList();
        s.stuck = true;
        SerialWindow* w = s.open();
        w->downloadButton()->click();
        QTRY_VERIFY(s.program->serial().busy());
        QVERIFY(!s.form->isEnabled());
        QVERIFY(!w->findChild<QGroupBox*>("Frame1")->isEnabled());
        // Closing is refused while the transfer runs.
        QVERIFY(!s.files().mayClose());
        QCOMPARE(s.prompter.texts().last(), QString("Connection in progress.."));
        QVERIFY(!w->close());
        QElapsedTimer timer;
        timer.start();
        w->cancelButton()->click();
        QTRY_VERIFY_WITH_TIMEOUT(!s.program->serial().busy(), 2000);
        // Well within a second even on a busy machine; the waits look at the flag every 40 ms.
        QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(s.ws().tvList(), before);
        QVERIFY(s.form->isEnabled());

        // Cancel pressed before the transfer has started on its thread (held up here by a
        // slow speed change) still stops it.
        s.speedChangeMs = 300;
        s.program->serial().stop();
        s.program->serial().start();
        QTRY_VERIFY(s.program->serial().portOpen());
        s.program->serial().setMode(SerialController::Mode::Fta);
        w->downloadButton()->click();
        QVERIFY(s.program->serial().busy());
        timer.restart();
        w->cancelButton()->click();
        QTRY_VERIFY_WITH_TIMEOUT(!s.program->serial().busy(), 3000);
        QVERIFY2(timer.elapsed() < 1500, qPrintable(QString::number(timer.elapsed())));
    }
};

}  // namespace qel

QTEST_MAIN(qel::SerialWindowTest)
#include "serial_window_test.moc"
