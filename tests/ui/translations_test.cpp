// Every text has its Italian translation, and the program's texts read as they should
// in both languages.
#include <QFile>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <QtTest>

#include "app/language.h"

namespace qel {

class TranslationsTest : public QObject {
    Q_OBJECT

    static QStringList placeholders(const QString& text) {
        QStringList found;
        for (const QRegularExpressionMatch& m : QRegularExpression("%\\d").globalMatch(text))
            found << m.captured();
        found.sort();
        return found;
    }

private slots:
    void everyMessageIsTranslated() {
        QFile ts(QStringLiteral(QEL_TS_FILE));
        QVERIFY(ts.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&ts);
        int messages = 0;
        QString source;
        QStringList problems;
        while (!xml.atEnd()) {
            xml.readNext();
            if (!xml.isStartElement()) continue;
            if (xml.name() == QLatin1String("source")) {
                source = xml.readElementText();
                ++messages;
            } else if (xml.name() == QLatin1String("translation")) {
                const QString type = xml.attributes().value("type").toString();
                const QString text = xml.readElementText();
                if (!type.isEmpty()) problems << type + ": " + source;
                if (text.isEmpty()) problems << "empty: " + source;
                // The translation takes the same arguments (a count, a file name) as the text.
                if (placeholders(text) != placeholders(source)) problems << "arguments: " + source;
            }
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QVERIFY(messages > 50);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
    }

    void textsInBothLanguages_data() {
        QTest::addColumn<QString>("context");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("italian");
        const char* ctx = "qel::MainWindow";
        QTest::newRow("tab") << ctx << "Settings"
                             << "Settaggi";
        QTest::newRow("title") << ctx << "RADIO CHANNELS"
                               << "CANALI RADIO";
        QTest::newRow("convert") << ctx << "&Convert to  bin"
                                 << "&Converti in  bin";
        QTest::newRow("find") << ctx << "&Find"
                              << "&Trova";
        QTest::newRow("load fonts") << ctx << "Load fonts"
                                    << "Carica font  ";
        QTest::newRow("stab") << "qel::ListController"
                              << "  STAB rotor position is "
                              << "  La posizione sul rotore STAB e' ";
        QTest::newRow("menu tip") << ctx << "Click for menu"
                                  << "Click per il menu'";
        const char* files = "qel::FileController";
        QTest::newRow("save question") << files << "Save correction to "
                                       << "Salvo le correzioni su ";
        QTest::newRow("bin") << files << "Not with BIN  files"
                             << "Non con file BIN";
        QTest::newRow("defaults") << files << "Default settings will be used , proceed ??"
                                  << "Verranno usati setting di default  , procedi ??";
        QTest::newRow("too many")
            << "Texts"
            << "Too many channels for DVB 98 : no Upload/Save "
            << "Troppi canali per la DVB 98 : Upload/salvataggio non eseguito";
        QTest::newRow("length") << "Texts"
                                << "Wrong file lenght"
                                << "Lunghezza file errata";
        QTest::newRow("options") << "qel::OptionsWindow"
                                 << " Working Directory "
                                 << " Directory di lavoro ";
        QTest::newRow("port") << "qel::OptionsWindow"
                              << "&Comunication port"
                              << "&Porta seriale";
        const char* serial = "qel::SerialController";
        QTest::newRow("backup phase") << serial << "Backing up the receiver..."
                                      << "Copia di sicurezza del ricevitore...";
        QTest::newRow("verify phase") << serial << "Checking what the receiver holds..."
                                      << "Verifico il contenuto del ricevitore...";
        QTest::newRow("skipped") << serial << "Skipped: %1"
                                 << "Parti saltate: %1";
        QTest::newRow("instance") << "StartupTexts"
                                  << "I'm happy you love QEL ... but it's already running :-)"
                                  << "Sono felice che QEL ti piaccia .. ma sta gia' girando :-)";
        // The serial window, the picture upload, the font editor, the text import and export.
        const char* serialWindow = "qel::SerialWindow";
        const char* const serialTexts[][2] = {{"Upload to picture", "Upload dell'immagine"},
                                              {"Erase firm&ware", "Cancella firm&ware"},
                                              {"Erase &all", "C&ancella tutto"},
                                              {"&Mode", "&Modo "},
                                              {"Port settings", "Settaggi seriali"},
                                              {"COM Port", "Porta seriale"},
                                              {"Sett&ings", "&Impostazioni"},
                                              {"Syste&m Font", "Font di siste&ma"},
                                              {"Teletext F&ont", "F&ont televideo"}};
        for (const auto& [english, italian] : serialTexts)
            QTest::addRow("serial: %s", english) << serialWindow << english << italian;
        QTest::newRow("picture") << "Texts"
                                 << "File must be a 280x240 - 16 colours bitmap"
                                 << "File deve essere una bitmap 280x240 - 16 colori";
        QTest::newRow("teletext font") << "qel::FontWindow"
                                       << "Font type is TELETEXT"
                                       << "Il font e' del tipo TELETEXT";
        QTest::newRow("char position") << "qel::FontWindow"
                                       << "Current char position is "
                                       << "La posizione del carattere e' ";
        QTest::newRow("save fonts question") << "qel::FontController"
                                             << "Save correction to "
                                             << "Salvo le correzioni su ";
        QTest::newRow("import row") << files << "Wrong lenght in row %1"
                                    << "La riga %1 ha lunghezza errata";
        const char* exportWindow = "qel::ExportWindow";
        QTest::newRow("import form") << exportWindow << "Import compatible"
                                     << "Import compatibile ";
        QTest::newRow("bare rows") << exportWindow << "Not intested"
                                   << "Senza intestazione";
        QTest::newRow("format") << exportWindow << " Format "
                                << " Formato ";
        const char* exporter = "qel::ExportController";
        QTest::newRow("hexadecimal")
            << exporter
            << "Values for Network Id, Transponder Id, Service Id, PIDs and Acq.Bandwith are in "
               "hexadecimal format"
            << "I valori di Network Id, Transponder Id, Service Id, PIDs e  Acq.Bandwith sono in "
               "formato esadecimale";
    }
    void textsInBothLanguages() {
        QFETCH(QString, context);
        QFETCH(QString, english);
        QFETCH(QString, italian);
        const QByteArray ctx = context.toLatin1();
        const QByteArray src = english.toUtf8();
        Language language;
        language.apply("ENG");
        QCOMPARE(QCoreApplication::translate(ctx.constData(), src.constData()), english);
        language.apply("ITA");
        QCOMPARE(QCoreApplication::translate(ctx.constData(), src.constData()), italian);
        language.apply("ENG");
        QCOMPARE(QCoreApplication::translate(ctx.constData(), src.constData()), english);
    }
};

}  // namespace qel

QTEST_GUILESS_MAIN(qel::TranslationsTest)
#include "translations_test.moc"
