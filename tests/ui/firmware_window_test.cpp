// The firmware upgrade from the serial window over a simulated receiver: the file dialog and
// the question, the refusals that send nothing, and the bytes field given back. How each failure
// and a cancel end is the finishers' table; the blocks on the wire, the serial firmware test's.
#include <QGroupBox>
#include <QRadioButton>

#include "model/errors.h"
#include "serial/firmware.h"
#include "serial_fixture.h"

namespace qel {

using test::Serial;
using Answer = Prompter::Answer;

namespace {

std::string firmwareBytes(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i / 300) % 7 == 0 ? i * 13 : i / 64);
    return bytes;
}

QString english(ErrorCode code) {
    const std::string_view text = errorText(code);
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

struct Upgrade : Serial {
    QString routineDir = dir.filePath("routine");
    Upgrade() {
        QDir().mkpath(routineDir);
        program->serial().setFlashRoutinePlaces({dir.filePath("nowhere"), routineDir});
        write("routine/rodflash.sbr", std::string(1716, '\x5C'));
    }
    // Chooses the file, answers the question, and waits for the end of the transfer.
    void run(SerialWindow* w, const QString& file, bool eraseAll = false) {
        w->findChild<QRadioButton*>(eraseAll ? "Eraseall" : "EraseFirmware")->setChecked(true);
        chooser.choose(file);
        prompter.answer(Answer::Yes);
        transfer(w->findChild<QPushButton*>("UpgradeFirmware"));
    }
};

}  // namespace

class FirmwareWindowTest : public QObject {
    Q_OBJECT

private slots:
    void aFirmwareGoesUpWholeAndTheBytesFieldComesBack() {
        Upgrade s;
        SerialWindow* w = s.open();
        QVERIFY(w->findChild<QPushButton*>("UpgradeFirmware")->isEnabled());
        QVERIFY(w->findChild<QRadioButton*>("EraseFirmware")->isChecked());
        const QString before = s.label(w, "LByte");
        const std::string firmware = firmwareBytes(2 * 65536 + 77);
        s.run(w, s.write("new.bin", firmware), true);
        QCOMPARE(s.chooser.asked.last().filter, QString("Firmware Files (*.bin)"));
        QCOMPARE(s.chooser.asked.last().folder, s.session.workingDir());
        QVERIFY(s.prompter.texts().first().contains("new.bin"));
        QVERIFY(s.receiver->firmware() == firmware);
        QVERIFY(s.receiver->firmwareErasedAll());
        QCOMPARE(s.receiver->flashRoutine(), std::string(1716, '\x5C'));
        QCOMPARE(s.label(w, "LByte"), before);
        QVERIFY(s.prompter.texts().last().startsWith("Firmware upgrade completed"));
        QVERIFY(w->findChild<QGroupBox*>("Frame3")->isEnabled());
    }

    void nothingIsSentWithoutTheRoutineAFileOrAYes() {
        Upgrade s;
        SerialWindow* w = s.open();
        auto* button = w->findChild<QPushButton*>("UpgradeFirmware");
        // The file dialog cancelled, then the question answered no.
        s.chooser.choose(QString());
        button->click();
        s.chooser.choose(s.write("new.bin", firmwareBytes(100)));
        s.prompter.answer(Answer::No);
        button->click();
        // An empty file; then no routine anywhere.
        s.chooser.choose(s.write("empty.bin", ""));
        s.prompter.answer(Answer::Yes);
        button->click();
        QFile::remove(s.routineDir + "/rodflash.sbr");
        s.chooser.choose(s.dir.filePath("new.bin"));
        s.prompter.answer(Answer::Yes);
        button->click();
        QVERIFY(!s.program->serial().busy());
        QVERIFY(s.receiver->commandLog().empty());
        const QStringList texts = s.prompter.texts();
        QCOMPARE(texts.size(), 5);
        QCOMPARE(texts[2], english(ErrorCode::EmptyFirmware) + "\n" + s.dir.filePath("empty.bin"));
        // The folders as the system writes them.
        QCOMPARE(texts[4], english(ErrorCode::NoFlashRoutine) + "\n" +
                               QDir::toNativeSeparators(s.dir.filePath("nowhere")) + "\n" +
                               QDir::toNativeSeparators(s.routineDir));
    }
};

}  // namespace qel

QTEST_MAIN(qel::FirmwareWindowTest)
#include "firmware_window_test.moc"
