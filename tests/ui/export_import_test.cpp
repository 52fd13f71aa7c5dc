// The export window and the import commands over the whole program: the window's controls
// and their rules, the file it writes (named after the loaded file, replaced only when the
// user says so, one byte per character or in UTF-8), the remembered columns, both
// languages, the file dialogs' filters, and an import-compatible export read back as one
// undoable step.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "ui/export_window.h"
#include "ui_fixture.h"

namespace qel {

using Answer = Prompter::Answer;

namespace {

using test::child;

struct Exports : test::UiFixture {
    ExportWindow* open() { return openTab<ExportWindow>(Tab::Export); }
    static void press(ExportWindow* w) { child<QPushButton>(w, "ExpButt")->click(); }
};

// Today as the page headers write it in every language.
std::string today() {
    return QDate::currentDate().toString("dd/MM/yy").toStdString();
}

}  // namespace

class ExportImportTest : public QObject {
    Q_OBJECT

private slots:
    void formatsAndColumnsFollowTheLoadedLists() {
        Exports s;
        QVERIFY(s.load(s.dvb("mine.dvb", 3, 1)));
        ExportWindow* w = s.open();
        QVERIFY(w != nullptr);
        auto* antenna = child<QCheckBox>(w, "ExAnt");
        // DVB98 channels have no antenna of their own.
        QVERIFY(!antenna->isEnabled() && !antenna->isChecked());
        QVERIFY(child<QRadioButton>(w, "IntFormat")->isChecked());
        child<QCheckBox>(w, "Exsr")->setChecked(false);
        child<QComboBox>(w, "Hexdec")->setCurrentIndex(1);
        child<QRadioButton>(w, "IOFormat")->setChecked(true);
        // The import reads fixed columns in hexadecimal: the choice is made for the user.
        QVERIFY(!child<QGroupBox>(w, "Playout")->isEnabled());
        QVERIFY(child<QCheckBox>(w, "Exsr")->isChecked());
        QVERIFY(!antenna->isChecked());
        QCOMPARE(child<QComboBox>(w, "Hexdec")->currentIndex(), 0);
        child<QRadioButton>(w, "ColuFormat")->setChecked(true);
        QVERIFY(child<QGroupBox>(w, "Playout")->isEnabled());

        // An FTA image has antennas but cannot be imported again.
        QVERIFY(s.load(s.bin("mine.bin")));
        w = s.open();
        QVERIFY(child<QCheckBox>(w, "ExAnt")->isEnabled());
        QVERIFY(!child<QRadioButton>(w, "IOFormat")->isEnabled());
        QVERIFY(w->options().ftaImage);
    }

    void theExportIsNamedAfterTheListAndReplacesOnlyWhenAllowed() {
        Exports s;
        QVERIFY(s.load(s.dvb("mine.dvb", 3, 1)));
        ExportWindow* w = s.open();
        QCOMPARE(child<QPushButton>(w, "ExpButt")->text(), QString("Export as file mine.txt"));
        const QString target = s.dir.filePath("mine.txt");
        Exports::press(w);
        QCOMPARE(s.prompter.texts(), QStringList{"Export completed"});
        QCOMPARE(s.prompter.asked[0].icon, Prompter::Icon::Information);
        QCOMPARE(child<QLabel>(w, "Label40")->text(), QString("X / X"));
        // Its pages are the text export tests'; here the program's version, file and date.
        const std::string written = Exports::read(target);
        QVERIFY2(written.starts_with("\nQEL - Version 00.01.00  mine.dvb - " + today() + "     "),
                 written.substr(0, 60).c_str());

        // An existing file: No keeps it as it is, Yes replaces it.
        s.write("mine.txt", "keep");
        s.prompter.asked.clear();
        s.prompter.answer(Answer::No);
        Exports::press(w);
        QCOMPARE(s.prompter.asked[0].defaultAnswer, Answer::No);
        QVERIFY(s.prompter.texts()[0].startsWith("The file "));
        QCOMPARE(Exports::read(target), std::string("keep"));
        s.prompter.answer(Answer::Yes);
        Exports::press(w);
        QCOMPARE(Exports::read(target).size(), written.size());

        // Another file chosen: the button names it, the export goes there.
        const QString other = s.dir.filePath("other.txt");
        s.chooser.choose(other);
        child<QPushButton>(w, "ExpChoose")->click();
        QCOMPARE(s.chooser.asked.last().proposed, QString("mine.txt"));
        QCOMPARE(child<QPushButton>(w, "ExpButt")->text(), QString("Export as file other.txt"));
        Exports::press(w);
        QCOMPARE(Exports::read(other).size(), written.size());
    }

    // One byte per character unless the user asks for UTF-8: an import-compatible row is then
    // 100 bytes whatever its name holds, as programs that count bytes read it.
    void namesAreWrittenOneBytePerCharacterOrInUtf8() {
        Exports s;
        QVERIFY(s.load(s.accented()));
        ExportWindow* w = s.open();
        auto* utf8 = child<QCheckBox>(w, "ExpUtf8");
        QVERIFY(utf8 != nullptr && !utf8->isChecked());
        child<QRadioButton>(w, "IOFormat")->setChecked(true);
        Exports::press(w);
        const QString target = s.dir.filePath("accent.txt");
        QCOMPARE(Exports::read(target).find('\n'), std::size_t{100});
        utf8->setChecked(true);
        s.prompter.answer(Answer::Yes);
        Exports::press(w);
        QVERIFY(Exports::read(target).starts_with("Caf\xC3\xA9 TV "));
    }

    void theColumnsAreRememberedWhenAsked() {
        Exports s;
        Config c = s.session.config();
        c.rememberExportLayout = true;
        c.exportColumns.ids = true;
        c.exportColumns.antenna = true;
        c.exportColumns.frequency = true;
        s.session.setConfig(c);
        QVERIFY(s.load(s.dvb("mine.dvb", 3, 0)));
        ExportWindow* w = s.open();
        QVERIFY(child<QCheckBox>(w, "ExId")->isChecked());
        QVERIFY(!child<QCheckBox>(w, "ExAnt")->isChecked());  // not for DVB98
        QVERIFY(child<QCheckBox>(w, "Exfreq")->isChecked());
        QVERIFY(!child<QCheckBox>(w, "Expid")->isChecked());
        child<QCheckBox>(w, "ExAcbw")->setChecked(true);
        child<QCheckBox>(w, "ExpUtf8")->setChecked(true);
        Exports::press(w);
        // Kept in the configuration (how it is stored is the configuration store tests').
        const ExportColumns& kept = s.session.config().exportColumns;
        QVERIFY(kept.ids && !kept.antenna && kept.frequency && !kept.pids && kept.bandwidth);
        QVERIFY(s.store.load().config.exportUtf8);
        // The encoding too, in the next window.
        s.form->selectTab(Tab::List);
        QVERIFY(child<QCheckBox>(s.open(), "ExpUtf8")->isChecked());
        // Not remembered: every window opens on one byte per character.
        c = s.session.config();
        c.rememberExportLayout = false;
        s.session.setConfig(c);
        s.form->selectTab(Tab::List);
        QVERIFY(!child<QCheckBox>(s.open(), "ExpUtf8")->isChecked());
    }

    // The export written in Italian (the labels' words are the translation table's).
    void theExportIsWrittenInTheLanguageInUse() {
        Exports s;
        QVERIFY(s.load(s.dvb("mine.dvb", 3, 1)));
        s.language.apply("ITA");
        Exports::press(s.open());
        QCOMPARE(s.prompter.texts(), QStringList{"Esportazione su file completata"});
        const std::string written = Exports::read(s.dir.filePath("mine.txt"));
        QVERIFY(written.starts_with("\nQEL - Versione 00.01.00  mine.dvb - " + today()));
        QVERIFY(written.find("CANALI TELEVISIVI      Page  1/2") != std::string::npos);
        s.language.apply("ENG");
    }

    // Every file dialog shows its filter in the language in use; the names the program has
    // in English only stay English.
    void dialogFiltersInBothLanguages_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("filter");
        const QString channels = "Dr.Vellox settings (*.dvb );;Settings Files (*.bin)";
        const QString fonts =
            "System font (1 set) (*.fos);;System font (2 set) (*.oc1);;Teletext font (*.oc2)";
        for (const char* language : {"ENG", "ITA"}) {
            const bool it = QString(language) == "ITA";
            const auto row = [&](const char* action, const QString& filter) {
                QTest::addRow("%s %s", language, action) << language << action << filter;
            };
            row("Load_Channel", channels);
            row("Save_Channel", channels);
            row("UpgDVB", "Dr.Vellox settings (*.dvb )");
            row("Load_Settings", "DVB generic settings (*.g98)");
            row("Load_Fonts", fonts);
            row("ImportFormTXT",
                it ? "Importa da file di testo (*.txt )" : "Import from text file (*.txt )");
            row("ImportCSV", it ? "File CSV (*.csv)" : "CSV files (*.csv)");
            row("ExportCSV", it ? "File CSV (*.csv)" : "CSV files (*.csv)");
            row("ExportPDF", it ? "Documenti PDF (*.pdf)" : "PDF documents (*.pdf)");
            row("ExpChoose", it ? "File di testo (*.txt)" : "Text files (*.txt)");
        }
    }

    void dialogFiltersInBothLanguages() {
        QFETCH(QString, language);
        QFETCH(QString, action);
        QFETCH(QString, filter);
        Exports s;
        QVERIFY(s.load(s.dvb("mine.dvb", 3, 1)));
        s.language.apply(language);
        s.chooser.choose(QString());
        const auto asked = s.chooser.asked.size();
        if (action == "ExpChoose") {
            child<QPushButton>(s.open(), "ExpChoose")->click();
        } else {
            s.action(qPrintable(action))->trigger();
        }
        QCOMPARE(s.chooser.asked.size(), asked + 1);
        QCOMPARE(s.chooser.asked.last().filter, filter);
        s.language.apply("ENG");
    }

    void anImportCompatibleExportImportsBackAsOneUndoableStep() {
        Exports s;
        QVERIFY(s.load(s.dvb("mine.dvb", 4, 2)));
        const ChannelList tv = s.ws().tvList();
        const ChannelList radio = s.ws().radioList();
        ExportWindow* w = s.open();
        child<QRadioButton>(w, "IOFormat")->setChecked(true);
        Exports::press(w);
        const QString text = s.dir.filePath("mine.txt");

        QVERIFY(s.load(s.dvb("other.dvb", 2, 0)));
        s.chooser.choose(text);
        s.action("ImportFormTXT")->trigger();
        // What an import reads back is the text import tests'; the lists came back.
        QCOMPARE(s.ws().tvList().size(), tv.size());
        QCOMPARE(s.ws().radioList().size(), radio.size());
        QCOMPARE(s.ws().tvList()[1].ChName, tv[1].ChName);
        // One undo brings back the lists the import replaced.
        s.editing().undo();
        QCOMPARE(s.ws().tvList().size(), 2u);
        QVERIFY(!s.editing().canUndo());
    }
};

}  // namespace qel

QTEST_MAIN(qel::ExportImportTest)
#include "export_import_test.moc"
