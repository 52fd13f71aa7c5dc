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

    // One text of each context the program loads, spelt as the program's own, blanks and
    // all: the translations of every context are found, in each direction of a switch.
    void textsInBothLanguages_data() {
        QTest::addColumn<QString>("context");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("italian");
        const char* const rows[][3] = {
            {"qel::MainWindow", "&Convert to  bin", "&Converti in  bin"},
            {"qel::ListController", "  STAB rotor position is ",
             "  La posizione sul rotore STAB e' "},
            {"qel::FileController", "Default settings will be used , proceed ??",
             "Verranno usati setting di default  , procedi ??"},
            {"Texts", "Too many channels for DVB 98 : no Upload/Save ",
             "Troppi canali per la DVB 98 : Upload/salvataggio non eseguito"},
            {"qel::OptionsWindow", " Working Directory ", " Directory di lavoro "},
            {"qel::SerialController", "Skipped: %1", "Parti saltate: %1"},
            {"StartupTexts", "I'm happy you love QEL ... but it's already running :-)",
             "Sono felice che QEL ti piaccia .. ma sta gia' girando :-)"},
            {"qel::SerialWindow", "&Mode", "&Modo "},
            {"qel::FontWindow", "Font type is TELETEXT", "Il font e' del tipo TELETEXT"},
            {"qel::FontController", "Save correction to ", "Salvo le correzioni su "},
            {"qel::ExportWindow", "Import compatible", "Import compatibile "},
            {"qel::ExportController",
             "Values for Network Id, Transponder Id, Service Id, PIDs and Acq.Bandwith are in "
             "hexadecimal format",
             "I valori di Network Id, Transponder Id, Service Id, PIDs e  Acq.Bandwith sono in "
             "formato esadecimale"},
        };
        for (const auto& [context, english, italian] : rows)
            QTest::addRow("%s", context) << context << english << italian;
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
