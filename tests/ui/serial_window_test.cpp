// The serial window over a simulated receiver: what needs the window (its controls and their
// enablement, questions, stacking, marks on screen, the line it opens, Cancel and the close
// check while a transfer runs). How each transfer ends is the finishers' table
// (tests/app/serial_finishers_test.cpp).
#include "ui/serial_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTimer>
#include <QWindow>
#include <QtTest>
#include <atomic>
#include <thread>

#include "files/dvb_file.h"
#include "receiver_sim/receiver_simulator.h"
#include "serial/picture.h"
#include "serial_fixture.h"
#include "support/pty_line.h"
#include "ui/picture_dialog.h"

namespace qel {

using test::residentBytes;
using test::Serial;
using Answer = Prompter::Answer;

class SerialWindowTest : public QObject {
    Q_OBJECT

private slots:
    // The window at rest (its line, its texts following the language, what it offers), then a
    // download: its steps, what the document receives, and the main window waiting meanwhile.
    void downloadFetchesChannelsAndSettings() {
        Serial s;
        QVERIFY(s.load(s.dvb("mine.dvb", 3, 0)));
        SerialWindow* w = s.open();
        QVERIFY(w != nullptr);
        QCOMPARE(w->windowTitle(), QString("QEL 8.5 Serial module  for firmware upgrade "));
        QCOMPARE(s.label(w, "Advise"), QString("Com open"));
        QCOMPARE(s.label(w, "Status"), QString("38400,N,8,1 "));
        QCOMPARE(s.label(w, "Port"), QString(" COM 1"));
        s.language.apply("ITA");
        QTRY_COMPARE(s.label(w, "Bytel"), QString("Bytes usati"));
        s.language.apply("ENG");
        QVERIFY(w->findChild<QPushButton*>("Upload")->isEnabled());
        QVERIFY(w->findChild<QCheckBox*>("IncludeSysFon")->isEnabled());
        QVERIFY(!w->findChild<QRadioButton*>("Font2")->isEnabled());  // no two-set font loaded
        QVERIFY(w->findChild<QPushButton*>("UpgradeFirmware")->isEnabled());
        QCOMPARE(s.label(w, "LByte"), QString("192"));
        QCOMPARE(s.label(w, "Ch2ser"), QString("3"));
        QSignalSpy busy(&s.program->serial(), &SerialController::busyChanged);
        QSignalSpy statuses(&s.program->serial(), &SerialController::statusChanged);
        s.download(w);
        // A download's own steps show their own texts.
        QStringList shown;
        for (const auto& a : statuses)
            shown.append(a.at(0).toString());
        QVERIFY2(shown.contains("DownLoading") && shown.contains("Get Settings"),
                 qPrintable(shown.join(" | ")));
        QCOMPARE(busy.first().at(0).toBool(), true);  // the main window waited meanwhile
        QVERIFY(s.form->isEnabled());
        QVERIFY(!s.session.transferBusy());
        QCOMPARE(s.ws().tvList().size(), 5u);
        QVERIFY(!s.ws().channelsModified());
        QCOMPARE(QFileInfo(s.session.channelFile()).fileName(), QString("Download.dvb"));
        QCOMPARE(s.ws().settingsImage().substr(8, 4), std::string("2222"));
        QCOMPARE(QFileInfo(s.session.settingsFile()).fileName(), QString("Download.g98"));
        QCOMPARE(test::marks(s, w), QString("OO"));
        QVERIFY(s.prompter.asked.isEmpty());
        QVERIFY(!s.editing().canUndo());  // a new history for the new lists
    }

    // Unsaved lists are asked about, No sending nothing. A receiver that then does not answer
    // at all is told once for the whole transfer, with the port, the mode and what to check,
    // and the edited lists stay.
    void unsavedChannelsAreAskedAboutAndASilentReceiverIsToldOnce() {
        Serial s;
        QVERIFY(s.load(s.dvb("mine.dvb", 3, 0)));
        s.ws().setChannelsModified(true);
        SerialWindow* w = s.open();
        w->findChild<QCheckBox*>("IncludeDVBsett")->setChecked(false);
        s.prompter.answer(Answer::No);
        QSignalSpy settling(&s.program->serial(), &SerialController::settlingChanged);
        s.download(w);
        QCOMPARE(s.prompter.texts(), QStringList{"Channels not saved , continue anyway ?"});
        QCOMPARE(settling.size(), 0);  // nothing was sent: no wait for a quiet line
        QCOMPARE(s.prompter.asked[0].defaultAnswer, Answer::No);
        QVERIFY(s.ws().channelsModified() && s.ws().tvList().size() == 3u);
        QCOMPARE(test::marks(s, w), QString("S-"));  // declined is not failed
        s.receiver->addFault({SimFault::Silence, SimCommand::Handshake, 0});
        s.prompter.answer(Answer::Yes);
        s.download(w);
        QCOMPARE(s.prompter.texts().size(), 3);
        QVERIFY2(s.prompter.texts().last().startsWith("The receiver does not answer on /dev/ttyS0 "
                                                      "(COM 1) (Dr. Vellox mode, 38400,N,8,1)."),
                 qPrintable(s.prompter.texts().last()));
        QCOMPARE(s.prompter.asked.last().icon, Prompter::Icon::Critical);
        QVERIFY(s.ws().channelsModified() && s.ws().tvList().size() == 3u);
    }

    // A port that will not open says why and what to do, naming the group that owns it when
    // the user may not use it.
    void aPortThatWillNotOpen_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("detail");
        QTest::addColumn<QString>("note");
        QTest::newRow("absent") << int(ErrorCode::PortError)
                                << "/dev/ttyS0: No such file or directory"
                                << "/dev/ttyS0 (COM 1) cannot be opened (/dev/ttyS0: No such "
                                   "file or directory). Check the port in Options.";
        QTest::newRow("no permission")
            << int(ErrorCode::PortNoPermission) << "dialout"
            << QString(
                   "QEL may not open /dev/ttyS0 (COM 1): the port belongs to the group "
                   "\"dialout\". Add your user to that group (sudo adduser %1 dialout), "
                   "then log out and in again.")
                   .arg(qEnvironmentVariable("USER", "$USER"));
    }
    void aPortThatWillNotOpen() {
        QFETCH(int, code);
        QFETCH(QString, detail);
        QFETCH(QString, note);
        Serial s;
        s.portOpens = false;
        s.openFailure = Error{static_cast<ErrorCode>(code), detail.toStdString()};
        s.form->selectTab(Tab::Serial);
        auto* w = qobject_cast<SerialWindow*>(s.form->openChild());
        QTRY_COMPARE(s.label(w, "Advise"), QString("Error on COM"));
        QVERIFY(!w->findChild<QGroupBox*>("Frame1")->isEnabled() &&
                !w->findChild<QGroupBox*>("Frame3")->isEnabled());
        QVERIFY(w->findChild<QGroupBox*>("Frame2")->isEnabled());
        QVERIFY(!w->findChild<QLabel*>("PortNote")->isHidden());
        QCOMPARE(s.label(w, "PortNote"), note);
        // Opened once the user chose another port: the note goes.
        s.portOpens = true;
        s.program->serial().start();
        QTRY_COMPARE(s.label(w, "Advise"), QString("Com open"));
        QVERIFY(w->findChild<QLabel*>("PortNote")->isHidden());
    }

    // A device that keeps sending while the window is open and no transfer runs, faster than
    // any line: what it sends is dropped as it comes (a pseudo-terminal left unread would
    // take only a few KB), and none of it piles up in the program.
    void aChatteringLineBetweenTransfersFillsNoBuffer() {
        Serial s;
        test::PtyLine pty;
        s.overLine(QString::fromStdString(pty.device()), Timing{});
        SerialWindow* w = s.open();
        QTRY_COMPARE(s.label(w, "Advise"), QString("Com open"));
        QTest::qWait(200);
        const long before = residentBytes();
        std::atomic<bool> talking{true};
        std::atomic<std::size_t> sent{0};
        std::thread chatter([&] {
            const std::string chunk(4096, '\x5A');
            while (talking) {
                const ssize_t n = ::write(pty.master(), chunk.data(), chunk.size());
                if (n > 0) {
                    sent += static_cast<std::size_t>(n);
                } else {
                    pollfd p{pty.master(), POLLOUT, 0};
                    ::poll(&p, 1, 10);
                }
            }
        });
        QTest::qWait(3000);
        talking = false;
        chatter.join();
        const long grown = residentBytes() - before;
        qInfo("%zu bytes sent, resident memory %+ld bytes", sent.load(), grown);
        // The far end kept sending: well beyond what the pseudo-terminal holds unread.
        QVERIFY2(sent > 200'000, qPrintable(QString::number(sent)));
        QVERIFY2(grown < 4'000'000, qPrintable(QString::number(grown)));
        QCOMPARE(s.label(w, "Advise"), QString("Com open"));
    }

    // The far side of the line goes away while the window is open (an adapter pulled out and
    // put back, a simulator restarted): the next transfer opens the device again.
    void aHungUpLineIsOpenedAgainForTheNextTransfer() {
        Serial s;
        const QString path = s.dir.filePath("ttyReceiver");
        auto first = std::make_unique<test::PtyResponder>(*s.receiver);
        QVERIFY(QFile::link(QString::fromStdString(first->device()), path));
        s.overLine(path, Timing{});
        SerialWindow* w = s.open();
        QTRY_COMPARE(s.label(w, "Advise"), QString("Com open"));
        first.reset();
        test::PtyResponder second(*s.receiver);
        QVERIFY(QFile::remove(path));
        QVERIFY(QFile::link(QString::fromStdString(second.device()), path));
        s.download(w);
        QCOMPARE(test::marks(s, w), QString("OO"));
        QCOMPARE(s.prompter.texts(), QStringList{});
        QCOMPARE(s.ws().tvList().size(), std::size_t{5});
    }

    // The real line over a pseudo-terminal, read back from its other side: the window opens it
    // at the mode's speed, 8N1, without flow control, and follows the mode chosen. A DVB98 list
    // goes up through the loader once the FTA mode is chosen (the mode shown is the dialect
    // spoken), which talks at 19200 baud; afterwards the line is at the FTA mode's speed.
    void theLineIsFramedAsTheModeAsks() {
        test::FtaUpload s;
        QVERIFY(s.loaded && s.load(s.dvb("mine.dvb", 3, 0)));
        s.receiver->addFault({SimFault::NeverWakes, SimCommand::LoaderWakeUp, 0});
        test::PtyResponder far(*s.receiver);
        Timing quick;
        quick.wakeUpAttempt = Millis(100);
        quick.settle = Millis(100);
        s.overLine(QString::fromStdString(far.device()), quick);
        SerialWindow* w = s.open();
        QTRY_COMPARE(s.label(w, "Advise"), QString("Com open"));
        const auto speed = [&far] {
            const termios t = far.line().settings();
            return cfgetospeed(&t);
        };
        termios t = far.line().settings();
        QCOMPARE(cfgetospeed(&t), speed_t{B38400});
        QCOMPARE(t.c_cflag & CSIZE, tcflag_t{CS8});
        QCOMPARE(t.c_cflag & (PARENB | CSTOPB | CRTSCTS), tcflag_t{0});
        QCOMPARE(t.c_iflag & (IXON | IXOFF | IXANY), tcflag_t{0});
        auto* mode = w->findChild<QComboBox*>("ConnMode");
        mode->setCurrentIndex(1);
        emit mode->activated(1);
        QTRY_COMPARE(speed(), speed_t{B19200});
        QCOMPARE(s.label(w, "Status"), QString("19200,N,8,1 "));
        test::include(w, true, false);
        // Flashing a DVB98 list replaces the receiver's settings: asked first; No sends nothing.
        s.prompter.answer(Prompter::Answer::No);
        w->uploadButton()->click();
        QCOMPARE(s.prompter.texts(), QStringList{"Default settings will be used , proceed ??"});
        QVERIFY(!s.program->serial().busy());
        s.prompter.answer(Prompter::Answer::Yes);
        w->uploadButton()->click();
        QTRY_COMPARE(speed(), speed_t{B19200});  // while the loader is called
        QTRY_VERIFY_WITH_TIMEOUT(!s.program->serial().busy() && !s.program->serial().settling(),
                                 10000);
        QCOMPARE(s.prompter.texts().value(3).section("\n\n", 0, 0), QString("Timeout"));
        QTRY_COMPARE(speed(), speed_t{B19200});
    }

    // The system font's set and the picture slot are two choices: each is kept when the other
    // changes, shown as chosen when the window opens again, and used as shown.
    void theFontSetAndThePictureSlotAreTwoChoices() {
        Serial s;
        std::string twoSets(8192, '\0');
        for (std::size_t i = 0; i < twoSets.size(); ++i)
            twoSets[i] = static_cast<char>(i / 4096 + 1);
        s.chooser.choose(s.write("sys.oc1", twoSets));
        s.program->fonts().loadFonts();
        SerialWindow* w = s.open();
        const auto radio = [&w](const char* name) { return w->findChild<QRadioButton*>(name); };
        QVERIFY(radio("Font1")->isChecked() && radio("NoOfPic1")->isChecked());
        radio("NoOfPic2")->click();
        QVERIFY(radio("Font1")->isChecked());
        radio("Font2")->click();
        QVERIFY(radio("NoOfPic2")->isChecked() && !radio("NoOfPic1")->isChecked());

        s.form->selectTab(Tab::List);
        w = s.open();
        QVERIFY(radio("Font2")->isChecked() && radio("NoOfPic2")->isChecked());
        QVERIFY(!radio("Font1")->isChecked() && !radio("NoOfPic1")->isChecked());
        test::include(w, false, false);
        w->findChild<QCheckBox*>("IncludeSysFon")->setChecked(true);
        s.upload(w);
        QCOMPARE(s.receiver->systemFont(), twoSets.substr(4096));
        const std::string bitmap(kPictureFileSize, '\x11');  // the right size: goes up as it is
        s.chooser.choose(s.write("boot.bmp", bitmap));
        w->setPictureApprover(s.approver);
        s.transfer(w->pictureButton());
        QVERIFY(s.approver.lastUnchanged);
        QCOMPARE(s.receiver->picture().substr(4, kPictureFileSize), bitmap);
        QCOMPARE(s.receiver->pictureSlot(), 5);  // "CBEG5": the second slot
        radio("NoOfPic1")->click();
        s.chooser.choose(s.dir.filePath("boot.bmp"));
        s.transfer(w->pictureButton());
        QCOMPARE(s.receiver->pictureSlot(), 4);
        QVERIFY(radio("Font2")->isChecked());
    }

    // The questions and messages of a transfer belong to the serial window: they show over it,
    // and it is the active window again once they close, never the main window.
    void messagesOfATransferShowOverTheSerialWindow() {
        test::FtaUpload s(true);
        QVERIFY(s.loaded);
        s.receiver->addFault({SimFault::NeverWakes, SimCommand::LoaderWakeUp, 0});
        SerialWindow* w = s.open();
        QCOMPARE(w->windowType(), Qt::Tool);
        QVERIFY(w->windowHandle() != nullptr);
        QCOMPARE(w->windowHandle()->transientParent(), s.frame().windowHandle());
        test::include(w, true, false);
        QStringList seen;
        QStringList problems;
        // Each box, once it shows: over which window, and whether it has become the active
        // window (activation follows the showing by an event or two); then OK.
        QTimer watcher;
        int waited = 0;
        QObject::connect(&watcher, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr || !box->isVisible()) return;
            const bool active = QApplication::activeWindow() == box;
            if (!active && ++waited < 25) return;
            waited = 0;
            seen << box->text().section('\n', 0, 0);
            if (box->parentWidget() != w) problems << "not over the serial window: " + seen.last();
            if (!active) problems << "not active: " + seen.last();
            box->button(QMessageBox::Ok)->click();
        });
        watcher.start(20);
        w->uploadButton()->click();
        QTRY_VERIFY_WITH_TIMEOUT(!s.program->serial().busy() && !s.program->serial().settling(),
                                 10000);
        QTRY_COMPARE(seen.size(), 2);
        watcher.stop();
        QCOMPARE(seen, (QStringList{"Unplug Vandu main power", "Timeout"}));
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(w));
    }

    // The window keeps its size whatever it comes to show (the comparison button after a
    // download, the backup note after an upload), and placed at the screen's foot it stays
    // whole on the screen, in both languages. Each window starts at rest (no marks, no backup
    // note, an empty progress bar) and its fields come back to rest after every transfer.
    void theWindowKeepsItsSizeAndStaysOnTheScreen() {
        test::DvbUpload s(3, 1);
        QVERIFY(s.loaded);
        const QRect area = s.frame().screen()->availableGeometry();
        s.store.setToolWindowPlace("SerialForm", QPoint(area.left() + 20, area.bottom() - 40));
        SerialWindow* w = s.open();
        const QSize size = w->size();
        const auto whole = [&] {
            const QRect outer = w->frameGeometry();
            QString problems;
            if (!area.contains(outer)) problems += "off the screen; ";
            if (w->size() != size) problems += "resized; ";
            // Nothing in it is squeezed below what it needs, Cancel and the bar least of all.
            if (!(w->layout()->totalMinimumSize().boundedTo(w->size()) ==
                  w->layout()->totalMinimumSize())) {
                problems += "too small for its content; ";
            }
            for (const QWidget* part :
                 {static_cast<QWidget*>(w->cancelButton()), w->findChild<QWidget*>("Progress")}) {
                if (!w->rect().contains(QRect(part->mapTo(w, QPoint()), part->size())))
                    problems += part->objectName() + " cut off; ";
            }
            return problems;
        };
        auto* bar = w->findChild<QProgressBar*>("Progress");
        const auto noted = [&] { return !w->findChild<QLabel*>("BackupNote")->isHidden(); };
        QCOMPARE(whole(), QString());
        QVERIFY(w->compareBeforeButton()->isHidden() && !noted() && bar->text().isEmpty());
        QCOMPARE(bar->value(), bar->minimum() - 1);
        s.download(w);
        QVERIFY(!w->compareBeforeButton()->isHidden() && !noted());  // a download makes none
        // The channels' size, not the settings' bytes that came last.
        QCOMPARE(s.label(w, "LByte"), QString("384"));  // the receiver's six channels
        QCOMPARE(whole(), QString());
        s.upload(w);
        QVERIFY(noted() && bar->text().isEmpty());
        QCOMPARE(whole(), QString());
        // Another language may want another size: still whole on the screen.
        s.language.apply("ITA");
        QTRY_COMPARE(s.label(w, "Bytel"), QString("Bytes usati"));
        QVERIFY(area.contains(w->frameGeometry()));
        s.language.apply("ENG");
        s.form->selectTab(Tab::List);
        w = s.open();
        QCOMPARE(test::marks(s, w, SerialController::kMarks), QString("------"));
        QVERIFY(!noted());
    }

    // Left open while other files are loaded, the window follows them: the mode, the speed,
    // the bytes used, the channel count and the marks are the new file's, the choices are the
    // mode's, and the upload speaks the dialect shown. An FTA receiver is upload-only and its
    // loader takes the image alone, so a good flash ends well.
    void theWindowFollowsTheLoadedDocument() {
        test::DvbUpload s(3, 1);
        QVERIFY(s.loaded);
        Config config = s.session.config();
        config.askOnCheckErrors = false;
        s.session.setConfig(config);
        SerialWindow* w = s.open();
        auto* mode = w->findChild<QComboBox*>("ConnMode");
        const auto shown = [&] {
            return QStringList{s.label(w, "Status"), mode->currentText(), s.label(w, "LByte"),
                               s.label(w, "Ch2ser")};
        };
        const auto offered = [&] {
            QString out;
            for (const char* name :
                 {"IncludeCh", "IncludeDVBsett", "IncludeSysFon", "IncludeTxtFon", "Download",
                  "Upload", "UploadPic", "Frame3"}) {
                auto* control = w->findChild<QWidget*>(name);
                auto* box = qobject_cast<QCheckBox*>(control);
                out += !control->isEnabled() ? '-' : box && box->isChecked() ? 'x' : 'o';
            }
            return out;
        };
        QCOMPARE(shown(), (QStringList{"38400,N,8,1 ", "Dr. Vellox", "256", "4"}));
        QCOMPARE(offered(), QString("xxoooooo"));
        s.upload(w);
        QCOMPARE(test::marks(s, w), QString("OO"));

        QVERIFY(s.load(s.bin("mine.bin")));
        QCOMPARE(s.form->openChild(), w);
        QCOMPARE(shown(), (QStringList{"19200,N,8,1 ", "FTA 2.4061", " 49152",
                                       QString::number(s.ws().channelCount())}));
        QCOMPARE(test::marks(s, w, SerialController::kMarks), QString("------"));
        QCOMPARE(offered(), QString("x----o--"));
        s.receiver->setDialect(ReceiverSimulator::Dialect::FtaLoader);
        s.upload(w);
        QCOMPARE(test::marks(s, w, SerialController::kMarks), QString("O-----"));

        // Another DVB98 list: the settings are offered and ticked again (loading the image let
        // the DVB98 settings go: only the channels go up).
        QVERIFY(s.load(s.dvb("other.dvb", 7, 2)));
        QCOMPARE(shown(), (QStringList{"38400,N,8,1 ", "Dr. Vellox", "576", "9"}));
        QCOMPARE(test::marks(s, w, SerialController::kMarks), QString("------"));
        QCOMPARE(offered(), QString("xxoooooo"));
        s.receiver->setDialect(ReceiverSimulator::Dialect::Dvb98);
        test::include(w, true, false);
        s.upload(w);
        QCOMPARE(test::marks(s, w), QString("O-"));
        QCOMPARE(s.receiver->channelImage(), encodeDvb(s.ws().tvList(), s.ws().radioList()));
        // An edit shows in the counts at once.
        s.ws().changeLists(kTouchTV, [](EditableLists& l) { l.tv.pop_back(); });
        QCOMPARE(s.label(w, "Ch2ser"), QString("8"));
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
        // The bytes used stay as they were, not the bytes counted; the bar is empty again.
        QCOMPARE(s.label(w, "LByte"), QString("192"));
        QVERIFY(w->findChild<QProgressBar*>("Progress")->text().isEmpty());

        // Cancel pressed before the transfer has started on its thread (held up here by a
        // slow speed change) still stops it.
        s.speedChangeMs = 300;
        s.program->serial().stop();
        s.program->serial().start();
        QTRY_VERIFY(s.program->serial().portOpen());
        s.program->serial().setMode(SerialController::Mode::Fta);
        s.program->serial().setMode(SerialController::Mode::Dvb98);
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
