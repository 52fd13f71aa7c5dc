#include "ui/options_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileSystemModel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeView>
#include <QtTest>

#include "ui/main_window.h"
#include "ui_fixture.h"

namespace qel {

// The options window over the program's configuration, as stored with `stored`.
struct Options : test::UiFixture {
    std::unique_ptr<OptionsWindow> window;
    explicit Options(std::initializer_list<std::pair<const char*, const char*>> stored = {}) {
        for (const auto& [key, value] : stored)
            settings.setValue(key, value);
        session.setConfig(store.load().config);
        window = std::make_unique<OptionsWindow>(session, store, language);
    }
    template <class T>
    T* child(const char* name) const {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
};

class OptionsWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

private slots:
    void shortPath_data() {
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("whole");
        QTest::newRow("43") << 43 << true;
        QTest::newRow("44") << 44 << false;
        QTest::newRow("100") << 100 << false;
    }
    void shortPath() {
        QFETCH(int, length);
        QFETCH(bool, whole);
        QString path;
        for (int i = 0; i < length; ++i)
            path += QChar('a' + i % 26);
        const QString shown = OptionsWindow::shortPath(path);
        if (whole) {
            QCOMPARE(shown, path);
        } else {
            QCOMPARE(shown, path.left(20) + "...." + path.right(20));
        }
    }

    void portsOfferComOneToFourFirst() {
        const auto ports = OptionsWindow::portChoices();
        QVERIFY(ports.size() >= 4);
        QCOMPARE(ports[0].second, QString("1"));
        QCOMPARE(ports[3].second, QString("4"));
#ifdef Q_OS_WIN
        // Every port the system reports now, by its number, each once and in order.
        int last = 0;
        for (const auto& [text, stored] : ports) {
            const int number = stored.toInt();
            QVERIFY2(number > last && number <= 256, qPrintable(text));
            QVERIFY2(text.startsWith("COM" + stored), qPrintable(text));
            last = number;
        }
#else
        QVERIFY(ports[0].first.contains("/dev/ttyS0"));
#endif
    }

    // Each found port as "name|device path|description"; each offered one as
    // "text=stored".
    void portsOfferedFollowTheSystemsRules_data() {
        QTest::addColumn<bool>("windows");
        QTest::addColumn<QStringList>("found");
        QTest::addColumn<QStringList>("offered");
        const QStringList comOneToFour{"COM1=1", "COM2=2", "COM3=3", "COM4=4"};
        QTest::newRow("windows, nothing found") << true << QStringList() << comOneToFour;
        QTest::newRow("windows, a found COM1-COM4 says what it is, once")
            << true << QStringList{"COM2|\\\\.\\COM2|Communications Port", "COM2|\\\\.\\COM2|"}
            << QStringList{"COM1=1", "COM2  (Communications Port)=2", "COM3=3", "COM4=4"};
        QTest::newRow("windows, COM5-COM256 in number order, each once, nothing else")
            << true
            << QStringList{"COM12|\\\\.\\COM12|USB Serial Port",
                           "COM5|\\\\.\\COM5|",
                           "com256|\\\\.\\COM256|",
                           "COM12|\\\\.\\COM12|again",
                           "COM257|\\\\.\\COM257|",
                           "COM0|\\\\.\\COM0|",
                           "COM07|\\\\.\\COM07|",
                           "COM1A|\\\\.\\COM1A|",
                           "CNCA0|\\\\.\\CNCA0|",
                           "COM|\\\\.\\COM|"}
            << comOneToFour + QStringList{"COM5=5", "COM12  (USB Serial Port)=12", "COM256=256"};
        const QStringList ttyS{"COM1  (/dev/ttyS0)=1", "COM2  (/dev/ttyS1)=2",
                               "COM3  (/dev/ttyS2)=3", "COM4  (/dev/ttyS3)=4"};
        QTest::newRow("linux, nothing found") << false << QStringList() << ttyS;
        QTest::newRow("linux, the others by device path in the order found")
            << false
            << QStringList{"ttyUSB0|/dev/ttyUSB0|FT232R USB UART", "ttyS3|/dev/ttyS3|",
                           "ttyS10|/dev/ttyS10|", "ttyS4|/dev/ttyS4|", "COM5|COM5|"}
            << ttyS + QStringList{"/dev/ttyUSB0  (FT232R USB UART)=/dev/ttyUSB0",
                                  "/dev/ttyS10=/dev/ttyS10", "/dev/ttyS4=/dev/ttyS4", "COM5=COM5"};
    }
    void portsOfferedFollowTheSystemsRules() {
        QFETCH(bool, windows);
        QFETCH(QStringList, found);
        QFETCH(QStringList, offered);
        QList<OptionsWindow::FoundPort> ports;
        for (const QString& port : found) {
            const QStringList parts = port.split('|');
            ports.append({parts[0], parts[1], parts[2]});
        }
        QStringList shown;
        const auto rules =
            windows ? OptionsWindow::PortRules::Windows : OptionsWindow::PortRules::Posix;
        for (const auto& [text, stored] : OptionsWindow::portChoices(ports, rules))
            shown.append(text + '=' + stored);
        QCOMPARE(shown, offered);
    }

    void saveStoresEverythingAndSwitchesTheLanguageAtOnce() {
        Options f;
        OptionsWindow& form = *f.window;
        form.setWorkingDir(dir_.path());
        f.child<QComboBox>("optPort")->setCurrentIndex(2);
        f.child<QComboBox>("Lang")->setCurrentIndex(1);
        f.child<QCheckBox>("optLayout")->setChecked(true);
        f.child<QCheckBox>("OptBox")->setChecked(true);
        // Backup and check before and after an upload are on until turned off.
        QVERIFY(f.child<QCheckBox>("optBackup")->isChecked());
        QVERIFY(f.child<QCheckBox>("optVerify")->isChecked());
        f.child<QCheckBox>("optVerify")->setChecked(false);
        // So is the question before lists with errors are saved or sent.
        QVERIFY(f.child<QCheckBox>("optCheck")->isChecked());
        f.child<QCheckBox>("optCheck")->setChecked(false);
        form.save();
        // Every control reaches the configuration, and the store (its spellings there are the
        // configuration store tests').
        const Config& c = f.session.config();
        QVERIFY(!c.askOnCheckErrors && c.backupBeforeUpload && !c.verifyAfterUpload);
        QVERIFY(c.rememberExportLayout && c.dataRowAtStart);
        QCOMPARE(f.session.workingDir(), dir_.path());
        QCOMPARE(c.comPort(), 3);
        QCOMPARE(f.store.load().config.comPort(), 3);
        QCOMPARE(f.settings.value("Language/Language").toString(), QString("ITA"));
        // The window stays open and every window takes the new language.
        QTRY_COMPARE(f.child<QPushButton>("SaveOpt")->text(), QString("Salva"));
        QTRY_COMPARE(f.form->title(), QString("CANALI TV"));
        f.child<QComboBox>("Lang")->setCurrentIndex(0);
        form.save();
        QTRY_COMPARE(f.child<QPushButton>("SaveOpt")->text(), QString("Save"));
    }

    void loadShowsTheStoredChoices() {
        Options f({{"Layout/Rememberlayout", "T"},
                   {"Serial port/ComPort", "2"},
                   {"Serial port/backup", "F"}});
        OptionsWindow& form = *f.window;
        QVERIFY(f.child<QCheckBox>("optLayout")->isChecked());
        QVERIFY(!f.child<QCheckBox>("OptBox")->isChecked());
        QVERIFY(!f.child<QCheckBox>("optBackup")->isChecked());
        QVERIFY(f.child<QCheckBox>("optVerify")->isChecked());
        QCOMPARE(f.child<QComboBox>("optPort")->currentIndex(), 1);
        QCOMPARE(f.child<QComboBox>("Lang")->currentIndex(), 0);
        QCOMPARE(form.shownDir(), OptionsWindow::shortPath(f.session.workingDir()));
        // The folder tree opens at the working folder once it has read its parents.
        auto* tree = f.child<QTreeView>("DirGet");
        auto* model = qobject_cast<QFileSystemModel*>(tree->model());
        QTRY_COMPARE(model->filePath(tree->currentIndex()), f.session.workingDir());
        QVERIFY(tree->isExpanded(tree->currentIndex().parent()));
        // Shown, the working folder is in sight.
        form.show();
        QTRY_VERIFY(tree->viewport()->rect().intersects(tree->visualRect(tree->currentIndex())));
    }

    void anyDevicePathCanBeTypedAsThePort() {
        Options f({{"Serial port/ComPort", "/tmp/qel-receiver"}});
        OptionsWindow& form = *f.window;
        auto* port = f.child<QComboBox>("optPort");
        QVERIFY(port->isEditable());
        QCOMPARE(port->currentText(), QString("/tmp/qel-receiver"));
        port->setEditText("/dev/pts/7");
        form.save();
        QCOMPARE(f.session.config().comPortText, QString("/dev/pts/7"));
        port->setCurrentIndex(2);  // COM3
        form.save();
        QCOMPARE(f.session.config().comPortText, QString("3"));
    }
};

}  // namespace qel

QTEST_MAIN(qel::OptionsWindowTest)
#include "options_window_test.moc"
