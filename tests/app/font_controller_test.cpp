// The font file commands without the font editor: saving asks where and writes the font.
#include "app/font_controller.h"

#include <QtTest>

#include "controller_fixture.h"

namespace qel {

using test::ControllerFixture;

class FontControllerTest : public QObject {
    Q_OBJECT

private slots:
    void savingWritesTheFileTheUserChooses() {
        ControllerFixture s;
        s.fonts().saveFonts();
        QCOMPARE(s.prompter.texts(), QStringList{"No fonts to save"});
        const QString font = s.font("Download.oc1", 8192, 16);
        s.chooser.choose(font);
        s.fonts().loadFonts();
        QCOMPARE(s.session.fontFile(), font);
        s.ws().storeFont(std::string(8192, '\x55'));
        const QString target = s.dir.filePath("saved.oc1");
        s.chooser.choose(target);
        s.fonts().saveFonts();
        QCOMPARE(s.chooser.asked.last().proposed, QString("Download"));
        QCOMPARE(ControllerFixture::read(target), std::string(8192, '\x55'));
        QVERIFY(!s.ws().fontsModified());
        QCOMPARE(s.session.fontFile(), target);
    }
};

}  // namespace qel

QTEST_GUILESS_MAIN(qel::FontControllerTest)
#include "font_controller_test.moc"
