// The upload from the serial window over a simulated receiver: DVB98 channels and settings
// with the backup before and the check after, the refusals that send nothing, the FTA image
// through the loader with its operator prompts, and the messages and marks of each failure.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRadioButton>
#include <QTemporaryDir>

#include <QImage>

#include "bytes/checksum.h"
#include "files/file_commands.h"
#include "files/g98_file.h"
#include "model/errors.h"
#include "serial/picture.h"
#include "serial_fixture.h"
#include "support/serial_line.h"
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

using test::withChecksum;

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
        QCOMPARE(s.label(w, "Advise"), QString("Com open"));
        QCOMPARE(s.label(w, "LByte"), QString::number(sent.size()));
        // What the receiver held is kept, and the window says where.
        const QString folder = s.program->serial().lastBackup();
        QVERIFY(folder.startsWith(s.dir.filePath("backups/")));
        QVERIFY(QRegularExpression(R"(\d{8}-\d{6}$)").match(folder).hasMatch());
        QCOMPARE(Serial::read(QDir(folder).filePath("receiver.dvb")), receiverChannels());
        QCOMPARE(Serial::read(QDir(folder).filePath("receiver.g98")),
                 withChecksum(receiverSettings()));
        auto* note = w->findChild<QLabel*>("BackupNote");
        QVERIFY(!note->isHidden());
        QVERIFY(note->text().contains(folder.toHtmlEscaped()));
        // The document is as it was.
        QVERIFY(!s.ws().channelsModified());
        QCOMPARE(encodeDvb(s.ws().tvList(), s.ws().radioList()), sent);

        // A second upload in the same second gets a backup folder of its own.
        s.upload(w);
        QCOMPARE(marks(s, w), QString("OO"));
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
        QCOMPARE(marks(s, w), QString("OO"));
        QCOMPARE(commandLog(*s.receiver), (QStringList{"CBEG", "C", "CBEG", "H"}));
        QVERIFY(s.program->serial().lastBackup().isEmpty());
        QVERIFY(w->findChild<QLabel*>("BackupNote")->isHidden());
        QVERIFY(!QDir(s.dir.filePath("backups")).exists());
    }

    void aFailedBackupAsksBeforeUploading_data() {
        QTest::addColumn<bool>("yes");
        QTest::newRow("no: nothing goes up") << false;
        QTest::newRow("yes: the upload goes on") << true;
    }
    void aFailedBackupAsksBeforeUploading() {
        QFETCH(bool, yes);
        DvbUpload s;
        QVERIFY(s.loaded);
        // The backup's settings get no answer, the later reads do.
        s.receiver->addFault({SimFault::Silence, SimCommand::Settings, 1});
        SerialWindow* w = s.open();
        s.prompter.answer(yes ? Answer::Yes : Answer::No);
        s.upload(w);
        QCOMPARE(s.prompter.texts(),
                 QStringList{"What the receiver holds now could not be saved before the "
                             "upload.\nUpload anyway ?"});
        QCOMPARE(s.prompter.asked[0].defaultAnswer, Answer::No);
        QVERIFY(s.program->serial().lastBackup().isEmpty());
        if (yes) {
            QCOMPARE(marks(s, w), QString("OO"));
            QCOMPARE(s.receiver->channelImage(), encodeDvb(s.ws().tvList(), s.ws().radioList()));
            QCOMPARE(s.receiver->settingsBlock(), mySettingsBlock());
        } else {
            // Declined, not failed: neither part went up, and the status line says why.
            QCOMPARE(marks(s, w), QString("SS"));
            QCOMPARE(s.label(w, "Advise"), QString("Skipped: channels, settings"));
            const QStringList log = commandLog(*s.receiver);
            QVERIFY(!log.contains("C") && !log.contains("H"));
            QCOMPARE(s.receiver->channelImage(), receiverChannels());
            QCOMPARE(s.receiver->settingsBlock(), receiverSettings());
        }
    }

    void theFtaImageGoesThroughTheLoader() {
        FtaUpload s;
        QVERIFY(s.loaded);
        SerialWindow* w = s.open();
        QCOMPARE(w->findChild<QComboBox*>("ConnMode")->currentIndex(), 1);
        include(w, true, false);
        QSignalSpy colours(&s.program->serial(), &SerialController::statusColourChanged);
        QSignalSpy statuses(&s.program->serial(), &SerialController::statusChanged);
        s.upload(w);
        QCOMPARE(s.prompter.texts(), QStringList{"Unplug Vandu main power"});
        QCOMPARE(s.prompter.asked[0].icon, Prompter::Icon::Information);
        QCOMPARE(marks(s, w), QString("O-"));
        QCOMPARE(s.label(w, "LByte"), QString(" 49152"));
        QCOMPARE(s.label(w, "Advise"), QString("Com open"));
        QStringList shown;
        for (const auto& a : statuses)
            shown.append(a.at(0).toString());
        for (const char* step : {"Connect main plug", "Connecting", "UpLoading"})
            QVERIFY2(shown.contains(step), step);
        bool green = false;
        for (const auto& c : colours)
            green = green || c.at(0).value<StatusColour>() == StatusColour::Green;
        QVERIFY(green);
        QCOMPARE(s.program->serial().statusColour(), StatusColour::Normal);
        // No backup can be read from the loader, and no image file is left anywhere.
        QVERIFY(s.program->serial().lastBackup().isEmpty());
        QVERIFY(!QFile::exists(s.dir.filePath("Serial.ser")));
        QVERIFY(!QFile::exists(QDir::current().filePath("Serial.ser")));
        QVERIFY(!s.ws().channelsModified());
        // The flash holds what saving the lists writes, byte for byte: for an image nobody
        // changed, the file as it is.
        QCOMPARE(s.receiver->flash(), s.savedImage());
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

    void fontsGoUpAfterChannelsAndSettings() {
        Serial s;
        std::string twoSets(8192, '\0');
        for (std::size_t i = 0; i < twoSets.size(); ++i)
            twoSets[i] = static_cast<char>(i * 7 + i / 4096);
        s.chooser.choose(s.write("sys.oc1", twoSets));
        s.program->fonts().loadFonts();
        SerialWindow* w = s.open();
        include(w, false, false);
        auto* font2 = w->findChild<QRadioButton*>("Font2");
        QVERIFY(font2->isEnabled());
        font2->setChecked(true);
        w->findChild<QCheckBox*>("IncludeSysFon")->setChecked(true);
        w->findChild<QCheckBox*>("IncludeTxtFon")->setChecked(true);
        s.upload(w);
        // The second set went up; no teletext font is loaded: "Error" and its Ko mark.
        QCOMPARE(s.receiver->systemFont(), twoSets.substr(4096));
        QVERIFY(s.markShown(w, "Ok2") && s.markShown(w, "Ko3"));
        QVERIFY(s.receiver->teletextFont().empty());
        QCOMPARE(s.label(w, "Advise"), QString("Error"));
        QVERIFY(s.prompter.asked.isEmpty());

        // A one-set font: the second set cannot be chosen.
        s.chooser.choose(s.write("tele.oc2", std::string(3190, '\x80')));
        s.program->fonts().loadFonts();  // the Fonts tab takes the place of the serial window
        w = s.open();
        font2 = w->findChild<QRadioButton*>("Font2");
        QVERIFY(!font2->isEnabled() && !font2->isChecked());
    }

    void pictureGoesUpIntoTheChosenSlot_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("slotTwo");
        QTest::newRow("any image, converted, slot 2") << "png" << true;
        QTest::newRow("a bitmap of the right size, unchanged, slot 1") << "raw" << false;
    }
    void pictureGoesUpIntoTheChosenSlot() {
        QFETCH(QString, kind);
        QFETCH(bool, slotTwo);
        Serial s;
        SerialWindow* w = s.open();
        QString path;
        std::string raw;
        if (kind == "png") {
            QImage image(100, 50, QImage::Format_RGB32);
            image.fill(Qt::red);
            path = s.dir.filePath("red.png");
            QVERIFY(image.save(path));
        } else {
            raw = std::string(kPictureFileSize, '\x5A');
            path = s.write("boot.bmp", raw);
        }
        s.chooser.choose(path);
        w->setPictureApprover(s.approver);
        w->findChild<QRadioButton*>(slotTwo ? "NoOfPic2" : "NoOfPic1")->setChecked(true);
        s.transfer(w->pictureButton());
        QCOMPARE(s.approver.asked, 1);
        QCOMPARE(s.receiver->pictureSlot(), slotTwo ? 5 : 4);
        const std::string block = s.receiver->picture();
        QCOMPARE(block.size(), kPictureBlockSize);
        const std::string file = block.substr(4, kPictureFileSize);
        if (kind == "png") {
            QVERIFY(!s.approver.lastUnchanged);
            QImage back;
            QVERIFY(back.loadFromData(reinterpret_cast<const uchar*>(file.data()),
                                      static_cast<int>(file.size()), "BMP"));
            QCOMPARE(back.size(), QSize(280, 240));
            QCOMPARE(QColor(back.pixel(140, 120)), QColor(Qt::red));
            QCOMPARE(QColor(back.pixel(140, 5)), QColor(Qt::black));  // the bar above
        } else {
            QVERIFY(s.approver.lastUnchanged);
            QCOMPARE(file, raw);
        }
        QCOMPARE(s.label(w, "Advise"), QString("Com open"));
        // Every image the upload takes is offered first.
        QCOMPARE(
            s.chooser.asked.last().filter,
            QString("Images (*.png *.jpg *.jpeg *.bmp *.gif);;Bitmaps (*.bmp);;All files (*)"));
        // The outcome shows beside the picture row; the channel marks stay hidden.
        QVERIFY(s.markShown(w, "Ok4") && !s.markShown(w, "Ko4"));
        QCOMPARE(marks(s, w), QString("--"));

        // A receiver that stops answering half way: the Ko mark, and "Error".
        s.receiver->addFault({SimFault::Silence, SimCommand::Picture, 0});
        s.chooser.choose(path);
        s.transfer(w->pictureButton());
        QVERIFY(s.markShown(w, "Ko4") && !s.markShown(w, "Ok4"));
        QCOMPARE(s.label(w, "Advise"), QString("Error"));
    }

    void aFileThatIsNoPictureIsRefused() {
        Serial s;
        SerialWindow* w = s.open();
        s.chooser.choose(s.write("notes.bmp", "not a picture"));
        w->setPictureApprover(s.approver);
        w->pictureButton()->click();
        QCOMPARE(s.prompter.texts(), QStringList{"File must be a 280x240 - 16 colours bitmap"});
        QCOMPARE(s.approver.asked, 0);
        QVERIFY(s.receiver->commandLog().empty());
    }

    void aDamagedImageIsRefused_data() {
        QTest::addColumn<QString>("format");
        QTest::newRow("a PNG cut short") << "png";
        QTest::newRow("a JPEG cut in half") << "jpg";
        QTest::newRow("a BMP cut short") << "bmp";
    }
    void aDamagedImageIsRefused() {
        QFETCH(QString, format);
        Serial s;
        SerialWindow* w = s.open();
        QImage image(280, 240, QImage::Format_RGB32);
        for (int y = 0; y < 240; ++y) {
            for (int x = 0; x < 280; ++x)
                image.setPixel(x, y, qRgb(x, y, (x * y) & 255));
        }
        const QString whole = s.dir.filePath("whole." + format);
        QVERIFY(image.save(whole, format.toLatin1().constData()));
        QFile file(whole);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const QString cut = s.write("cut." + format, bytes.left(bytes.size() / 2).toStdString());
        s.chooser.choose(cut);
        w->setPictureApprover(s.approver);
        w->pictureButton()->click();
        QCOMPARE(s.prompter.texts(), QStringList{"The image is damaged\n" + cut});
        QCOMPARE(s.approver.asked, 0);
        QVERIFY(s.receiver->commandLog().empty());
    }
};

}  // namespace qel

QTEST_MAIN(qel::SerialUploadTest)
#include "serial_upload_test.moc"
