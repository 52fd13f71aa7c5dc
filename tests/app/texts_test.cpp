// The messages of failed saves, with the system's reason, in both languages.
#include "app/texts.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>

#include "app/language.h"
#include "files/file_io.h"

namespace qel {

class TextsTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    Language language_;

    // The message of a real failed save to `path`, in the language `code`.
    QString saveMessage(const QString& path, const QString& code) {
        const Status st = writeFileAtomic(QFile::encodeName(path).toStdString(), "x");
        language_.apply(code);
        const QString message = Texts::errorMessage(st, path);
        language_.apply(QStringLiteral("ENG"));
        return message;
    }

private slots:
    void failedSavesSayWhyInBothLanguages_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("italian");
        QTest::newRow("folder") << "folder.dvb"
                                << "Cannot write the file\n%1\nIs a directory"
                                << QString::fromUtf8(
                                       "Impossibile scrivere il file\n%1\nÈ una directory");
        QTest::newRow("no folder")
            << "none/list.dvb"
            << "Cannot write the file\n%1\nNo such file or directory"
            << "Impossibile scrivere il file\n%1\nFile o directory non esistente";
#ifndef Q_OS_WIN  // Qt's links on Windows are shortcut files, not links the system follows
        QTest::newRow("dangling link")
            << "dangling.dvb"
            << "Cannot save: the symbolic link leads to no file\n%1\nNo such file or directory"
            << "Impossibile salvare: il collegamento simbolico non porta a nessun file\n%1\n"
               "File o directory non esistente";
        QTest::newRow("loop") << "loop.dvb"
                              << "Cannot save: the symbolic link leads to no file\n%1\n"
                                 "Too many levels of symbolic links"
                              << "Impossibile salvare: il collegamento simbolico non porta a "
                                 "nessun file\n%1\nTroppi livelli di collegamenti simbolici";
#endif
    }
    void failedSavesSayWhyInBothLanguages() {
        QFETCH(QString, name);
        QFETCH(QString, english);
        QFETCH(QString, italian);
        QVERIFY(dir_.isValid());
        QDir(dir_.path()).mkpath(QStringLiteral("folder.dvb"));
        QFile::link(dir_.filePath(QStringLiteral("missing.dvb")),
                    dir_.filePath(QStringLiteral("dangling.dvb")));
        QFile::link(dir_.filePath(QStringLiteral("loop.dvb")),
                    dir_.filePath(QStringLiteral("loop.dvb")));
        const QString path = dir_.filePath(name);
        QCOMPARE(saveMessage(path, QStringLiteral("ENG")), english.arg(path));
        QCOMPARE(saveMessage(path, QStringLiteral("ITA")), italian.arg(path));
    }

    // The reasons a full disk, a read-only folder and a read-only disk give; one the program
    // has no Italian for stays in English.
    void reasonsInBothLanguages_data() {
        QTest::addColumn<int>("errnum");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("italian");
        QTest::newRow("full") << ENOSPC << "No space left on device"
                              << "Spazio esaurito sul dispositivo";
        QTest::newRow("denied") << EACCES << "Permission denied"
                                << "Permesso negato";
        QTest::newRow("read-only") << EROFS << "Read-only file system"
                                   << "File system in sola lettura";
#ifdef EDQUOT
        QTest::newRow("quota") << EDQUOT << "Disk quota exceeded"
                               << "Quota del disco superata";
#endif
        // The C library's own English text (Windows' says it otherwise).
        const QString crossDevice = QString::fromStdString(systemErrorText(EXDEV));
        QVERIFY(!crossDevice.isEmpty() && !crossDevice.startsWith("error "));
        QTest::newRow("untranslated") << EXDEV << crossDevice << crossDevice;
    }
    void reasonsInBothLanguages() {
        QFETCH(int, errnum);
        QFETCH(QString, english);
        QFETCH(QString, italian);
        const Status st = Error{ErrorCode::CannotWriteFile, systemErrorText(errnum)};
        const QString path = QStringLiteral("/media/disk/list.dvb");
        QCOMPARE(Texts::errorMessage(st, path), "Cannot write the file\n" + path + "\n" + english);
        language_.apply(QStringLiteral("ITA"));
        const QString inItalian = Texts::errorMessage(st, path);
        language_.apply(QStringLiteral("ENG"));
        QCOMPARE(inItalian, "Impossibile scrivere il file\n" + path + "\n" + italian);
    }
};

}  // namespace qel

QTEST_GUILESS_MAIN(qel::TextsTest)
#include "texts_test.moc"
