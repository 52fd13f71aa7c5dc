// The upload from the serial window over a simulated receiver: DVB98 channels and settings
// with the backup before and the check after, the questions, the refusals that send nothing,
// the FTA image through the loader with its operator prompt, and the boot picture. How each
// failure ends is the finishers' table (tests/app/serial_finishers_test.cpp).
#include <QDir>
#include <QFile>
#include <QImage>

#include "model/errors.h"
#include "serial/picture.h"
#include "serial_fixture.h"
#include "ui/picture_dialog.h"

namespace qel {

using test::DvbUpload;
using test::FtaUpload;
using test::include;
using test::marks;
using test::receiverChannels;
using test::receiverSettings;
using test::Serial;
using Answer = Prompter::Answer;

namespace {

// The settings block the fixture's .g98 holds.
std::string mySettingsBlock() {
    return "DVSO" + std::string(1260, '\x11');
}

QString english(ErrorCode code) {
    const std::string_view text = errorText(code);
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QStringList commandLog(const ReceiverSimulator& receiver) {
    QStringList log;
    for (const std::string& c : receiver.commandLog())
        log.append(QString::fromStdString(c));
    return log;
}

}  // namespace

class SerialUploadTest : public QObject {
    Q_OBJECT

private slots:
    void channelsAndSettingsGoUpAfterABackupAndAreChecked() {
        DvbUpload s;
        QVERIFY(s.loaded);
        const std::string sent = encodeDvb(s.ws().tvList(), s.ws().radioList());
        SerialWindow* w = s.open();
        QVERIFY(w->uploadButton()->isEnabled());
        QSignalSpy busy(&s.program->serial(), &SerialController::busyChanged);
        QSignalSpy statuses(&s.program->serial(), &SerialController::statusChanged);
        s.upload(w);
        QCOMPARE(busy.first().at(0).toBool(), true);  // the main window waited meanwhile
        // The backup and each read-back are named as what they are, not as the download steps
        // they are made of; the upload's own steps keep their texts.
        QStringList shown;
        for (const auto& a : statuses) {
            if (shown.isEmpty() || shown.last() != a.at(0).toString())
                shown.append(a.at(0).toString());
        }
        const QString backingUp = "Backing up the receiver...";
        const QString checking = "Checking what the receiver holds...";
        QVERIFY2(!shown.contains("DownLoading") && !shown.contains("Get Settings"),
                 qPrintable(shown.join(" | ")));
        const qsizetype upLoading = shown.indexOf("UpLoading");
        const qsizetype sendSettings = shown.indexOf("Send Settings");
        QVERIFY2(shown.indexOf(backingUp) >= 0 && shown.indexOf(backingUp) < upLoading &&
                     upLoading < shown.indexOf(checking) &&
                     shown.indexOf(checking) < sendSettings &&
                     sendSettings < shown.lastIndexOf(checking),
                 qPrintable(shown.join(" | ")));
        QVERIFY(s.prompter.asked.isEmpty());
        QCOMPARE(marks(s, w), QString("OO"));
        QCOMPARE(s.receiver->channelImage(), sent);
        QCOMPARE(s.receiver->settingsBlock(), mySettingsBlock());
        // What the receiver held is kept, and the window says where.
        const QString folder = s.program->serial().lastBackup();
        QVERIFY(folder.startsWith(s.dir.filePath("backups/")));
        QVERIFY(QRegularExpression(R"(\d{8}-\d{6}$)").match(folder).hasMatch());
        QCOMPARE(Serial::read(QDir(folder).filePath("receiver.dvb")), receiverChannels());
        QVERIFY(w->findChild<QLabel*>("BackupNote")->text().contains(folder.toHtmlEscaped()));
        QVERIFY(!s.ws().channelsModified());  // the document is as it was

        // A second upload in the same second gets a backup folder of its own.
        s.upload(w);
        QVERIFY(s.program->serial().lastBackup() != folder);
        QCOMPARE(Serial::read(QDir(s.program->serial().lastBackup()).filePath("receiver.dvb")),
                 sent);
    }

    void withoutBackupAndCheckOnlyTheUploadIsSent() {
        DvbUpload s;
        QVERIFY(s.loaded);
        Config config = s.session.config();
        config.backupBeforeUpload = false;
        config.verifyAfterUpload = false;
        s.session.setConfig(config);
        SerialWindow* w = s.open();
        s.upload(w);
        QCOMPARE(commandLog(*s.receiver), (QStringList{"CBEG", "C", "CBEG", "H"}));
        QVERIFY(w->findChild<QLabel*>("BackupNote")->isHidden());
        QVERIFY(!QDir(s.dir.filePath("backups")).exists());
    }

    // What Yes and No then do is the serial upload test's.
    void aFailedBackupAsksBeforeUploading() {
        DvbUpload s;
        QVERIFY(s.loaded);
        // The backup's settings get no answer, the later reads do.
        s.receiver->addFault({SimFault::Silence, SimCommand::Settings, 1});
        SerialWindow* w = s.open();
        s.prompter.answer(Answer::No);
        s.upload(w);
        QCOMPARE(s.prompter.texts(),
                 QStringList{"What the receiver holds now could not be saved before the "
                             "upload.\nUpload anyway ?"});
        QCOMPARE(s.prompter.asked[0].defaultAnswer, Answer::No);
        QVERIFY(s.program->serial().lastBackup().isEmpty());
        QCOMPARE(marks(s, w), QString("SS"));  // declined, not failed
        QCOMPARE(s.receiver->settingsBlock(), receiverSettings());
    }

    void theFtaImageGoesThroughTheLoader() {
        FtaUpload s;
        QVERIFY(s.loaded);
        SerialWindow* w = s.open();
        include(w, true, false);
        QSignalSpy colours(&s.program->serial(), &SerialController::statusColourChanged);
        s.upload(w);
        QCOMPARE(s.prompter.texts(), QStringList{"Unplug Vandu main power"});
        QCOMPARE(s.prompter.asked[0].icon, Prompter::Icon::Information);
        bool green = false;  // while "Connect main plug" asks for the mains
        for (const auto& c : colours)
            green = green || c.at(0).value<StatusColour>() == StatusColour::Green;
        QVERIFY(green);
        QCOMPARE(s.program->serial().statusColour(), StatusColour::Normal);
        // No image file is left anywhere (no backup either: the serial upload test's).
        QVERIFY(!QFile::exists(s.dir.filePath("Serial.ser")));
        QVERIFY(!QFile::exists(QDir::current().filePath("Serial.ser")));
        // An image nobody changed goes up as the file it came from.
        QVERIFY(s.receiver->flash() == s.read(s.dir.filePath("mine.bin")));
    }

    // Lists the check finds errors in go up only when the user says so; the question's default
    // is No, and the options can turn it off.
    void errorsInTheListsAskBeforeUploading() {
        DvbUpload s;
        QVERIFY(s.loaded);
        s.ws().changeLists(kTouchTV, [](EditableLists& l) { l.tv[1].VPid = "2000"; });
        SerialWindow* w = s.open();
        include(w, true, false);
        s.prompter.answer(Answer::No);
        w->uploadButton()->click();
        QCOMPARE(s.prompter.asked.size(), 1);
        QCOMPARE(s.prompter.asked[0].defaultAnswer, Answer::No);
        QVERIFY(s.prompter.asked[0].text.contains("TV, row 2 \"TV 1\": PID 2000 is above 1FFF"));
        QVERIFY(s.prompter.asked[0].text.endsWith("Start the upload all the same?"));
        QVERIFY(!s.program->serial().busy());
        QVERIFY(s.receiver->commandLog().empty());
        QCOMPARE(marks(s, w), QString("--"));

        Config config = s.session.config();
        config.askOnCheckErrors = false;
        config.backupBeforeUpload = false;
        config.verifyAfterUpload = false;
        s.session.setConfig(config);
        s.prompter.asked.clear();
        s.upload(w);
        QVERIFY(s.prompter.asked.isEmpty());
        QCOMPARE(marks(s, w), QString("O-"));
    }

    void anImageTheWriterRefusesIsNotSent() {
        FtaUpload s;
        QVERIFY(s.loaded);
        s.ws().changeLists(kTouchTV, [](EditableLists& l) {
            for (int i = 0; i < 1009; ++i)
                l.tv.push_back(test::Channel("MANY " + std::to_string(i)).Freq("01176600"));
        });
        SerialWindow* w = s.open();
        include(w, true, false);
        s.prompter.answer(Answer::Yes);  // the list check's question
        w->uploadButton()->click();
        QTRY_COMPARE(marks(s, w), QString("K-"));
        QVERIFY(!s.program->serial().busy());
        QCOMPARE(s.prompter.texts().mid(1), QStringList{english(ErrorCode::TooManyChannelsFta)});
        QCOMPARE(s.receiver->wakeUpPairs(), 0u);
        QVERIFY(s.receiver->loaderCommands().empty());
    }

    // Any image is converted (as the boot picture test has it) and shown for approval first; a
    // bitmap of the right size going up unchanged is the window test's.
    void aPictureGoesUp() {
        Serial s;
        SerialWindow* w = s.open();
        QImage image(100, 50, QImage::Format_RGB32);
        image.fill(Qt::red);
        QVERIFY(image.save(s.dir.filePath("red.png")));
        s.chooser.choose(s.dir.filePath("red.png"));
        w->setPictureApprover(s.approver);
        s.transfer(w->pictureButton());
        QCOMPARE(s.approver.asked, 1);
        QVERIFY(!s.approver.lastUnchanged);
        const std::string block = s.receiver->picture();
        QCOMPARE(block.size(), kPictureBlockSize);
        QImage back;
        QVERIFY(back.loadFromData(reinterpret_cast<const uchar*>(block.data() + 4),
                                  static_cast<int>(kPictureFileSize), "BMP"));
        QCOMPARE(QColor(back.pixel(140, 120)), QColor(Qt::red));
        // Every image the upload takes is offered first.
        QCOMPARE(
            s.chooser.asked.last().filter,
            QString("Images (*.png *.jpg *.jpeg *.bmp *.gif);;Bitmaps (*.bmp);;All files (*)"));
        // The outcome shows beside the picture row; the channel marks stay hidden.
        QVERIFY(s.markShown(w, "Ok4") && !s.markShown(w, "Ko4"));
        QCOMPARE(marks(s, w), QString("--"));
    }

    // A file that is no picture, or an image cut short, is refused before anything is sent.
    void aFileThatIsNoWholePictureIsRefused_data() {
        QTest::addColumn<QString>("format");
        QTest::newRow("no picture") << "";
        QTest::newRow("a PNG cut short") << "png";  // each format: qel-tool's font_picture_test
    }
    void aFileThatIsNoWholePictureIsRefused() {
        QFETCH(QString, format);
        Serial s;
        SerialWindow* w = s.open();
        QString told = "File must be a 280x240 - 16 colours bitmap";
        QString path = s.write("notes.bmp", "not a picture");
        if (!format.isEmpty()) {
            QImage image(280, 240, QImage::Format_RGB32);
            for (int y = 0; y < 240; ++y) {
                for (int x = 0; x < 280; ++x)
                    image.setPixel(x, y, qRgb(x, y, (x * y) & 255));
            }
            const QString whole = s.dir.filePath("whole." + format);
            QVERIFY(image.save(whole, format.toLatin1().constData()));
            const std::string bytes = s.read(whole);
            path = s.write("cut." + format, bytes.substr(0, bytes.size() / 2));
            told = "The image is damaged\n" + path;
        }
        s.chooser.choose(path);
        w->setPictureApprover(s.approver);
        w->pictureButton()->click();
        QCOMPARE(s.prompter.texts(), QStringList{told});
        QCOMPARE(s.approver.asked, 0);
        QVERIFY(s.receiver->commandLog().empty());
    }
};

}  // namespace qel

QTEST_MAIN(qel::SerialUploadTest)
#include "serial_upload_test.moc"
