// Restoring a backup from the serial window over a simulated receiver: the list of backups,
// the question naming the date, the receiver holding the backup's bytes afterwards with its
// own backup first, the document left alone, and the refusals that send nothing.
#include <QDir>
#include <QTreeWidget>

#include "bytes/checksum.h"
#include "serial/receiver_backup.h"
#include "serial_fixture.h"
#include "support/receiver_data.h"
#include "ui/restore_dialog.h"

namespace qel {

using test::DvbUpload;
using test::FtaUpload;
using test::marks;
using test::receiverChannels;
using test::receiverSettings;
using test::Serial;
using Answer = Prompter::Answer;

namespace {

// Chooses the backup at `index` of those offered (-1: none), and keeps what it was offered.
class ScriptedPicker : public BackupPicker {
public:
    std::optional<BackupEntry> pick(const std::vector<BackupEntry>& backups,
                                    const QString&) override {
        offered = backups;
        if (index < 0 || index >= static_cast<int>(backups.size())) return std::nullopt;
        return backups[static_cast<std::size_t>(index)];
    }
    int index = 0;
    std::vector<BackupEntry> offered;
};

// A dialog's rows as "date|TV|RADIO|note", a row that cannot be chosen marked with "x".
QStringList rowsOf(const RestoreDialog& d) {
    QStringList rows;
    for (int i = 0; i < d.list()->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = d.list()->topLevelItem(i);
        QStringList cells;
        for (int c = 0; c < item->columnCount(); ++c)
            cells << item->text(c);
        rows << cells.join('|') + (item->flags() & Qt::ItemIsSelectable ? "" : " x");
    }
    return rows;
}

QStringList headerOf(const RestoreDialog& d) {
    QStringList cells;
    for (int c = 0; c < d.list()->columnCount(); ++c)
        cells << d.list()->headerItem()->text(c);
    return cells;
}

}  // namespace

class SerialRestoreTest : public QObject {
    Q_OBJECT

private slots:
    void aBackupGoesBackIntoTheReceiverAfterTheQuestion() {
        DvbUpload s;
        QVERIFY(s.loaded);
        const std::string mine = encodeDvb(s.ws().tvList(), s.ws().radioList());
        SerialWindow* w = s.open();
        ScriptedPicker picker;
        w->setBackupPicker(picker);
        // The upload keeps what the receiver held; the receiver now holds the document's lists.
        s.upload(w);
        const QString before = s.program->serial().lastBackup();
        QVERIFY(!before.isEmpty());
        QVERIFY(s.receiver->channelImage() == mine);
        s.prompter.asked.clear();
        s.prompter.answer(Answer::Yes);
        s.transfer(w->restoreButton());
        QCOMPARE(picker.offered.size(), std::size_t{1});
        QCOMPARE(QString::fromStdString(picker.offered[0].folder), before);
        const QString date = QString::fromStdString(backupDateText(picker.offered[0].date));
        QCOMPARE(s.prompter.texts(),
                 (QStringList{"Restore the backup of " + date + " to the receiver?",
                              "The backup of " + date + " is back in the receiver."}));
        // The receiver holds the backup's bytes, read back as sent.
        QVERIFY(s.receiver->channelImage() == receiverChannels());
        QVERIFY(s.receiver->settingsBlock() == receiverSettings());
        QCOMPARE(marks(s, w), QString("OO"));
        QCOMPARE(s.label(w, "LByte"), QString::number(receiverChannels().size()));
        // What it held before the restore is kept first, as an upload keeps it.
        const QString own = s.program->serial().lastBackup();
        QVERIFY(own != before && own.startsWith(s.dir.filePath("backups/")));
        QVERIFY(Serial::read(QDir(own).filePath("receiver.dvb")) == mine);
        // The document is the one loaded, unchanged.
        QVERIFY(encodeDvb(s.ws().tvList(), s.ws().radioList()) == mine);
        QVERIFY(!s.ws().channelsModified());
    }

    // No backup chosen, the question answered No, and a backup damaged since the dialog
    // listed it (the dialog offers no damaged one): nothing is sent.
    void refusalsSendNothing() {
        Serial s;
        const QString folder = s.dir.filePath("backups/20240131-080509");
        QVERIFY(writeReceiverBackup(folder.toStdString(), test::channelImage(4), receiverSettings())
                    .ok());
        SerialWindow* w = s.open();
        ScriptedPicker picker;
        w->setBackupPicker(picker);
        picker.index = -1;
        w->restoreButton()->click();
        picker.index = 0;
        s.prompter.answer(Answer::No);
        w->restoreButton()->click();
        QFile::resize(QDir(folder).filePath("receiver.dvb"), 100);
        w->restoreButton()->click();
        QCOMPARE(s.prompter.texts(),
                 (QStringList{"Restore the backup of 2024-01-31 08:05:09 to the receiver?",
                              "The backup of 2024-01-31 08:05:09 cannot be restored.\nWrong file "
                              "lenght\n" +
                                  QDir(folder).filePath("receiver.dvb")}));
        QVERIFY(!s.program->serial().busy());
        QVERIFY(s.receiver->commandLog().empty());
    }

    void anFtaReceiverIsNotOfferedARestore() {
        FtaUpload s;
        QVERIFY(s.loaded);
        SerialWindow* w = s.open();
        QVERIFY(!w->restoreButton()->isEnabled());
    }

    void theDialogListsTheBackupsNewestFirstInEnglishAndItalian() {
        Serial s;
        const QString root = s.dir.filePath("kept");
        const auto keep = [&](const char* name, const std::string& channels,
                              const std::string& block) {
            QVERIFY(
                writeReceiverBackup(QDir(root).filePath(name).toStdString(), channels, block).ok());
        };
        keep("20240101-120000", test::channelImage(3), receiverSettings());
        keep("20240301-090000", test::channelImage(5), receiverSettings());
        keep("20240201-100000", test::channelImage(2), "OSVD" + std::string(1260, 'x'));
        QFile::remove(QDir(root).filePath("20240101-120000/receiver.g98"));

        RestoreDialog d(listReceiverBackups(root.toStdString()), root);
        QCOMPARE(headerOf(d), (QStringList{"Date", "TV", "RADIO", "Note"}));
        QCOMPARE(rowsOf(d), (QStringList{"2024-03-01 09:00:00|5|0|",
                                         "2024-02-01 10:00:00|2|0|Damaged: no DVB98 settings x",
                                         "2024-01-01 12:00:00|3|0|Channels only"}));
        // The newest that can be restored is offered; a damaged one cannot be chosen.
        QVERIFY(d.restoreButton()->isEnabled());
        QCOMPARE(QString::fromStdString(d.chosen().value().name), QString("20240301-090000"));
        d.list()->setCurrentItem(d.list()->topLevelItem(1));
        QCOMPARE(QString::fromStdString(d.chosen().value().name), QString("20240301-090000"));
        d.list()->setCurrentItem(d.list()->topLevelItem(2));
        QCOMPARE(QString::fromStdString(d.chosen().value().name), QString("20240101-120000"));

        s.language.apply("ITA");
        QTRY_COMPARE(d.windowTitle(), QString("Ripristina un backup"));
        QCOMPARE(headerOf(d), (QStringList{"Data", "TV", "RADIO", "Nota"}));
        QCOMPARE(rowsOf(d),
                 (QStringList{"2024-03-01 09:00:00|5|0|",
                              "2024-02-01 10:00:00|2|0|Danneggiato: impostazioni non DVB98 x",
                              "2024-01-01 12:00:00|3|0|Solo canali"}));
        QCOMPARE(d.restoreButton()->text(), QString("&Ripristina"));
        RestoreDialog none({}, s.dir.filePath("nothing"));
        QCOMPARE(none.note()->text(),
                 "Nessun backup in " + QDir::toNativeSeparators(s.dir.filePath("nothing")) + ".");
        QVERIFY(!none.restoreButton()->isEnabled());
        SerialWindow* w = s.open();
        QCOMPARE(w->restoreButton()->text(), QString("&Ripristina…"));
        s.language.apply("ENG");
        QTRY_COMPARE(w->restoreButton()->text(), QString("&Restore…"));
    }
};

}  // namespace qel

QTEST_MAIN(qel::SerialRestoreTest)
#include "serial_restore_test.moc"
