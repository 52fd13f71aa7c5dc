// The tool windows as a whole, every row of the tool-window table: Esc and the close button
// in each of them, with and without unsaved edits; F1; a language switch while they are open;
// where they open beside the main window, on screens of the usual sizes; where the user moved
// them, remembered.
#include <QtTest/qtestspontaneevent.h>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTableView>
#include <QtTest>
#include <functional>

#include "app/tool_windows.h"
#include "serial_fixture.h"
#include "support/workspace_builder.h"
#include "ui/channel_data_window.h"
#include "ui/check_window.h"
#include "ui/close_guard.h"
#include "ui/compare_window.h"
#include "ui/dvb98_settings_windows.h"
#include "ui/font_window.h"
#include "ui/fta_settings_window.h"
#include "ui/help_viewer.h"
#include "ui/osd_color_window.h"
#include "ui/window_placement.h"

namespace qel {

using Answer = Prompter::Answer;

namespace {

struct Windows : test::Serial {
    Windows() { portOpens = false; }

    QWidget* openSettings() {
        load(dvb("list.dvb", 4, 0));
        loadSettings(g98("s.g98"));
        return form->openChild();
    }
    // The DVB98 settings window's button that opens the window after it.
    QWidget* openFromSettings(const char* button) {
        openSettings()->findChild<QPushButton*>(button)->click();
        return form->openChild();
    }

    // What the windows could write into the document.
    struct Document {
        ChannelList tv;
        std::string settings;
        std::array<std::string, kAntennaEntries> antennas;
        std::string font;
        friend bool operator==(const Document&, const Document&) = default;
    };
    Document document() {
        return {ws().tvList(), ws().settingsImage(), ws().imageTables().antennas, ws().fontData()};
    }
};

using test::child;

QString textOf(QWidget* w, const char* name) {
    return child<QLineEdit>(w, name)->text();
}

// The next entry of a list, so that the choice changes whatever it showed.
void chooseNext(QComboBox* box) {
    box->setCurrentIndex((box->currentIndex() + 1) % box->count());
}

// The close button of the window's title bar, as the window system reports it: true when
// the window lets itself be closed.
bool pressCloseButton(QWidget* w) {
    QCloseEvent close;
    QSpontaneKeyEvent::setSpontaneous(&close);
    QApplication::instance()->notify(w, &close);  // as it comes, not sent by the program
    return close.isAccepted();
}

struct WindowCase {
    const char* name;
    std::function<QWidget*(Windows&)> open;
    // Makes an edit and gives the control that has it (Esc is pressed there); null for a
    // window that never holds unsaved edits.
    std::function<QWidget*(Windows&, QWidget*)> edit;
    // The edit still shows.
    std::function<bool(Windows&, QWidget*)> editShown;
};

// A window whose edit is `text` typed into its line edit `box`.
WindowCase typedCase(const char* what, std::function<QWidget*(Windows&)> open, const char* box,
                     const char* text) {
    return {what, std::move(open),
            [box, text](Windows&, QWidget* win) {
                auto* edit = child<QLineEdit>(win, box);
                edit->setText(text);
                return edit;
            },
            [box, text](Windows&, QWidget* win) { return textOf(win, box) == text; }};
}

std::vector<WindowCase> windowCases() {
    const auto data = [](Windows& w) {
        w.load(w.dvb("list.dvb", 4, 0));
        w.list().selectOnly(3);
        return w.openTab(Tab::Data);
    };
    const auto fonts = [](Windows& w) {
        w.loadFont(w.font("one.fos", 4096, 16));
        return w.form->openChild();
    };
    const auto fta = [](Windows& w) {
        w.load(w.bin("img.bin"));
        return w.openTab(Tab::Settings);
    };
    return {
        typedCase("data editor: a name typed", data, "ChName", "EDITED"),
        {"data editor: a PID typed in its decimal box, not left", data,
         [](Windows&, QWidget* win) {
             QLineEdit* box = static_cast<ChannelDataWindow*>(win)->decBox(Pair::APid);
             box->setFocus();
             box->setText("4000");
             return box;
         },
         [](Windows&, QWidget* win) {
             return static_cast<ChannelDataWindow*>(win)->decBox(Pair::APid)->text() == "4000";
         }},
        {"data editor: a list entry chosen", data,
         [](Windows&, QWidget* win) {
             auto* video = child<QComboBox>(win, "Video");
             chooseNext(video);
             return video;
         },
         [](Windows&, QWidget* win) {
             return child<QComboBox>(win, "Video")->currentIndex() == 1;
         }},
        {"buffer",
         [](Windows& w) {
             w.load(w.dvb("list.dvb", 3, 0));
             test::setBuffer(w.ws(), {test::Channel("A"), test::Channel("B")});
             return w.openTab(Tab::Buffer);
         },
         {},
         {}},
        typedCase(
            "DVB98 settings", [](Windows& w) { return w.openSettings(); }, "LNB1Lof1", "9750"),
        {"more DVB98 settings", [](Windows& w) { return w.openFromSettings("MoreSetting"); },
         [](Windows&, QWidget* win) {
             auto* mode =
                 qobject_cast<QComboBox*>(static_cast<SettingsPage*>(win)->control("Mode"));
             chooseNext(mode);
             return mode;
         },
         [](Windows& w, QWidget* win) {
             const SettingsPage* page = static_cast<SettingsPage*>(win);
             const SettingField& mode = *std::find_if(
                 furtherSettingFields().begin(), furtherSettingFields().end(),
                 [](const SettingField& f) { return std::string_view(f.name) == "Mode"; });
             return page->value(mode) != w.program->settings().value(mode);
         }},
        {"colours", [](Windows& w) { return w.openFromSettings("Colors"); },
         [](Windows&, QWidget* win) {
             auto* colors = static_cast<OsdColorWindow*>(win);
             colors->choose(1);
             colors->apply(0x10E080);
             return colors->red();
         },
         [](Windows& w, QWidget* win) {
             return static_cast<OsdColorWindow*>(win)->values() != w.program->settings().colors();
         }},
        typedCase("FTA settings: an antenna's name typed", fta, "Ant_Name", "NEWSAT"),
        {"FTA settings: an antenna edited, another one shown", fta,
         [](Windows&, QWidget* win) {
             child<QLineEdit>(win, "Lnb_low")->setText("5150");
             auto* antennas = static_cast<FtaSettingsWindow*>(win)->antennas();
             antennas->setCurrentIndex(2);
             return antennas;
         },
         [](Windows&, QWidget* win) {
             static_cast<FtaSettingsWindow*>(win)->antennas()->setCurrentIndex(0);
             return textOf(win, "Lnb_low") == "5150";
         }},
        {"FTA settings: the screen format", fta,
         [](Windows&, QWidget* win) {
             QButtonGroup* screen = static_cast<FtaSettingsWindow*>(win)->screen();
             QAbstractButton* other = screen->button(1 - screen->checkedId());
             other->setChecked(true);
             return other;
         },
         [](Windows& w, QWidget* win) {
             const bool shown43 = static_cast<FtaSettingsWindow*>(win)->screen()->checkedId() == 0;
             return shown43 != showScreenFormat(w.ws().imageTables().screenFormat).is4_3;
         }},
        {"font editor: a pixel", fonts,
         [](Windows& w, QWidget* win) {
             w.program->fonts().togglePixel(0, 0);
             return static_cast<FontWindow*>(win)->grid();
         },
         [](Windows& w, QWidget*) { return w.program->fonts().glyphChanged(); }},
        {"font editor: a glyph saved, the font not", fonts,
         [](Windows& w, QWidget* win) {
             w.program->fonts().togglePixel(0, 0);
             w.program->fonts().saveChar();
             return static_cast<FontWindow*>(win)->grid();
         },
         [](Windows& w, QWidget*) {
             // Glyph 0 of the loaded font is blank.
             const GlyphRows glyph = w.program->fonts().workingGlyph(0);
             return std::any_of(glyph.begin(), glyph.end(), [](std::uint8_t r) { return r != 0; });
         }},
        {"serial",
         [](Windows& w) {
             QWidget* win = w.openTab(Tab::Serial);
             // The port is tried on the transfer thread: its failure shows when it comes.
             static_cast<void>(
                 QTest::qWaitFor([&] { return w.program->serial().status() == "Error on COM"; }));
             return win;
         },
         {},
         {}},
        {"export: its choices are no edits",
         [](Windows& w) {
             w.load(w.dvb("list.dvb", 3, 0));
             QWidget* win = w.openTab(Tab::Export);
             child<QCheckBox>(win, "Exfreq")->toggle();
             return win;
         },
         {},
         {}},
        {"options: a port typed", [](Windows& w) { return w.openTab(Tab::Options); },
         [](Windows&, QWidget* win) {
             QLineEdit* port = child<QComboBox>(win, "optPort")->lineEdit();
             port->setFocus();
             port->setText("/dev/ttyUSB7");
             return port;
         },
         [](Windows&, QWidget* win) {
             return child<QComboBox>(win, "optPort")->currentText() == "/dev/ttyUSB7";
         }},
        {"options: a box ticked", [](Windows& w) { return w.openTab(Tab::Options); },
         [](Windows&, QWidget* win) {
             auto* box = child<QCheckBox>(win, "optVerify");
             box->toggle();
             return box;
         },
         [](Windows& w, QWidget* win) {
             return child<QCheckBox>(win, "optVerify")->isChecked() !=
                    w.session.config().verifyAfterUpload;
         }},
        {"check",
         [](Windows& w) {
             w.load(w.dvb("list.dvb", 3, 0));
             w.action("CheckList")->trigger();
             return static_cast<QWidget*>(w.program->checkWindow());
         },
         {},
         {}},
        {"compare",
         [](Windows& w) {
             w.load(w.dvb("list.dvb", 3, 0));
             w.chooser.choose(w.dvb("other.dvb", 4, 0));
             w.action("CompareFile")->trigger();
             return static_cast<QWidget*>(w.program->compareWindow());
         },
         {},
         {}},
    };
}

// What the user reads in a window: its title, the texts of its labels, buttons and frames,
// and the cells of its tables.
QStringList textsOf(QWidget* win) {
    QStringList texts{win->windowTitle()};
    for (const QLabel* l : win->findChildren<QLabel*>())
        texts << l->text();
    for (const QAbstractButton* b : win->findChildren<QAbstractButton*>())
        texts << b->text();
    for (const QGroupBox* g : win->findChildren<QGroupBox*>())
        texts << g->title();
    for (const QAbstractItemView* v : win->findChildren<QAbstractItemView*>()) {
        const QAbstractItemModel* m = v->model();
        // The folder tree fills itself from the file system, on its own thread.
        if (qobject_cast<const QFileSystemModel*>(m) != nullptr) continue;
        for (int r = 0; m != nullptr && r < m->rowCount(); ++r) {
            for (int c = 0; c < m->columnCount(); ++c)
                texts << m->index(r, c).data().toString();
        }
    }
    return texts;
}

// Whether the window is gone: a tab's window took the main window back to the list.
bool closed(Windows& w, QWidget* win, bool tabWindow) {
    if (tabWindow) return w.form->openChild() == nullptr && w.form->currentTab() == Tab::List;
    return !win->isVisible();
}

// The tool windows of the main window's tabs, and the others; with the frame shown.
struct Placing : Windows {
    Placing() {
        frame().show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame()));
    }
    QRect countArea() const {
        const QWidget* count = form->findChild<QLabel*>("NoofChannel");
        return QRect(count->mapToGlobal(QPoint(0, 0)), count->size());
    }
    // The frame at `outer` on the screen, laid out there.
    void putFrame(const QRect& outer) {
        frame().setGeometry(outer);
        QCoreApplication::processEvents();
    }
};

qint64 area(const QRect& a, const QRect& b) {
    const QRect common = a.intersected(b);
    return common.isEmpty() ? 0 : qint64(common.width()) * common.height();
}

// How much a window at `place` covers of the areas to keep clear, and of the frame.
std::pair<qint64, qint64> covered(const QRect& place, const QRect& frame,
                                  const QList<QRect>& keepClear) {
    qint64 keep = 0;
    for (const QRect& r : keepClear)
        keep += area(place, r);
    return {keep, area(place, frame)};
}

}  // namespace

class ToolWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void escClosesAWindowWithoutEditsAndAsksInOneWithThem() {
        for (const WindowCase& c : windowCases()) {
            const QByteArray row = c.name;
            Windows w;
            QWidget* win = c.open(w);
            QVERIFY2(win != nullptr && win->isVisible(), row);
            // Titled as every window of the program.
            QVERIFY2(win->windowTitle().startsWith("QEL"), qPrintable(win->windowTitle()));
            const ToolWindowInfo* info = toolWindowNamed(qPrintable(win->objectName()));
            QVERIFY2(info != nullptr, row);
            const bool tab = info->tab.has_value();
            QVERIFY2(tab == (w.form->openChild() == win), row);
            // Untouched: Esc closes at once, wherever the caret is.
            w.prompter.asked.clear();
            QTest::keyClick(win->focusWidget() != nullptr ? win->focusWidget() : win,
                            Qt::Key_Escape);
            QVERIFY2(w.prompter.asked.isEmpty(), row);
            QTRY_VERIFY2(closed(w, win, tab), row);
            if (!c.edit) {
                // Choices made in it are no edits either.
                win = c.open(w);
                QTest::keyClick(win, Qt::Key_Escape);
                QVERIFY2(w.prompter.asked.isEmpty(), row);
                QTRY_VERIFY2(closed(w, win, tab), row);
                continue;
            }

            win = c.open(w);
            w.prompter.asked.clear();
            const Windows::Document before = w.document();
            QWidget* control = c.edit(w, win);
            QVERIFY2(dynamic_cast<UnsavedEdits*>(win)->hasUnsavedEdits(), row);
            // No, the default, keeps the window and the edit; so does the close button.
            w.prompter.answer(Answer::No);
            QTest::keyClick(control, Qt::Key_Escape);
            QCOMPARE(w.prompter.asked.size(), 1);
            QCOMPARE(w.prompter.asked.last().defaultAnswer, Answer::No);
            QCOMPARE(w.prompter.asked.last().buttons, Prompter::Buttons::YesNo);
            QVERIFY2(win->isVisible() && !closed(w, win, tab), row);
            w.prompter.answer(Answer::No);
            QVERIFY2(!pressCloseButton(win), row);
            QCOMPARE(w.prompter.asked.size(), 2);
            QVERIFY2(win->isVisible() && c.editShown(w, win), row);
            // Yes throws the edit away: the window closes and the document is as it was.
            w.prompter.answer(Answer::Yes);
            QTest::keyClick(control, Qt::Key_Escape);
            QCOMPARE(w.prompter.asked.size(), 3);
            QTRY_VERIFY2(closed(w, win, tab), row);
            QVERIFY2(w.document() == before, row);
            if (tab) {
                // Another tab closes the window without a question: the user chose to leave.
                win = c.open(w);
                c.edit(w, win);
                const qsizetype asked = w.prompter.asked.size();
                w.form->selectTab(Tab::List);
                QCOMPARE(w.prompter.asked.size(), asked);
                QTRY_VERIFY2(closed(w, win, tab), row);
            }
        }
    }

    // F1 anywhere in a tool window opens the help at the page that tells about that window.
    void f1OpensTheWindowsOwnHelpPage() {
        QSet<QString> seen;
        for (const WindowCase& c : windowCases()) {
            Windows w;
            QWidget* win = c.open(w);
            const ToolWindowInfo* info = toolWindowNamed(qPrintable(win->objectName()));
            QVERIFY2(info != nullptr, qPrintable(win->objectName()));
            seen.insert(win->objectName());
            QTest::keyClick(win->focusWidget() != nullptr ? win->focusWidget() : win, Qt::Key_F1);
            HelpViewer* help = w.frame().helpViewer();
            QVERIFY2(help != nullptr && help->isVisible(), c.name);
            QVERIFY2(help->currentPage().endsWith("help/" + QString::fromLatin1(info->helpPage)),
                     qPrintable(help->currentPage()));
            QVERIFY2(win->isVisible(), c.name);  // the window stays as it was
        }
        // Every window of the table is one of the cases, and its page (with the place on it)
        // is in the help of both languages.
        QCOMPARE(seen.size(), qsizetype(toolWindowTable().size()));
        for (const ToolWindowInfo& t : toolWindowTable()) {
            const QStringList page = QString::fromLatin1(t.helpPage).split('#');
            for (const QString folder : {":/help/", ":/help/it/"}) {
                QFile file(folder + page[0]);
                QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
                if (page.size() > 1)
                    QVERIFY2(file.readAll().contains("id=\"" + page[1].toLatin1() + '"'),
                             t.helpPage);
            }
        }
        // In Italian, the Italian page.
        Windows w;
        w.session.setLanguage("ITA");
        QTest::keyClick(w.openTab(Tab::Options), Qt::Key_F1);
        QVERIFY(w.frame().helpViewer()->currentPage().endsWith("help/it/start.html#options"));
        w.session.setLanguage("ENG");
    }

    // A language switch reaches every tool window while it is open, and the tab strip: the
    // texts change and come back, the strip's captions are the table's in the language in use.
    void everyWindowFollowsALanguageSwitch() {
        QSet<QString> seen;
        for (const WindowCase& c : windowCases()) {
            Windows w;
            QWidget* win = c.open(w);
            if (seen.contains(win->objectName())) continue;
            seen.insert(win->objectName());
            // English as a switch to it shows it (a window may show a state it found meanwhile).
            w.language.apply("ENG");
            QCoreApplication::processEvents();
            const QStringList english = textsOf(win);
            w.language.apply("ITA");
            QTRY_VERIFY2(textsOf(win) != english, c.name);
            for (const ToolWindowInfo& t : toolWindowTable()) {
                if (!t.tab || t.caption == nullptr) continue;
                const QString caption =
                    w.form->findChild<QTabBar*>("TabStrip1")->tabText(int(index(*t.tab)));
                QCOMPARE(caption, QCoreApplication::translate("qel::MainWindow", t.caption));
            }
            w.language.apply("ENG");
            QTRY_COMPARE(textsOf(win), english);
        }
        QCOMPARE(seen.size(), qsizetype(toolWindowTable().size()));
    }

    void storedEditsAreNoLongerAskedAbout() {
        Windows w;
        w.load(w.dvb("list.dvb", 4, 0));
        w.list().selectOnly(2);
        auto* data = qobject_cast<ChannelDataWindow*>(w.openTab(Tab::Data));
        child<QLineEdit>(data, "ChName")->setText("KEPT");
        data->save();
        QVERIFY(!data->hasUnsavedEdits());
        QTest::keyClick(data, Qt::Key_Escape);
        QVERIFY(w.prompter.asked.isEmpty());
        QTRY_COMPARE(w.form->currentTab(), Tab::List);
        QCOMPARE(w.ws().tvList()[1].ChName.view().substr(0, 4), "KEPT");

        // The further settings brought back to the general window are its edits until saved.
        QWidget* more = w.openFromSettings("MoreSetting");
        chooseNext(qobject_cast<QComboBox*>(static_cast<SettingsPage*>(more)->control("Mode")));
        child<QPushButton>(more, "Back")->click();
        auto* general = w.openChild<Dvb98SettingsWindow>();
        QVERIFY(general != nullptr && general->hasUnsavedEdits());
        general->storeSettings();
        QVERIFY(!general->hasUnsavedEdits());

        // The options once saved.
        auto* options = w.openTab(Tab::Options);
        child<QCheckBox>(options, "optVerify")->toggle();
        QVERIFY(dynamic_cast<UnsavedEdits*>(options)->hasUnsavedEdits());
        child<QPushButton>(options, "SaveOpt")->click();
        QVERIFY(!dynamic_cast<UnsavedEdits*>(options)->hasUnsavedEdits());
    }

    // The windows' own sizes, the frame where it opens the first time and where a user may put
    // it, on two usual screens: no place covers the count, the Options tab or the close button
    // where one that does not exists, nor more of the frame than the best of every place.
    void firstPlacesOnUsualScreens() {
        QList<std::pair<QString, QSize>> sizes;
        for (const WindowCase& c : windowCases()) {
            Placing p;
            QWidget* win = c.open(p);
            sizes.append({QString::fromLatin1(c.name), win->frameGeometry().size()});
        }
        Placing p;
        const QSize first = p.frame().minimumSize();
        for (const QRect screen : {QRect(0, 0, 1280, 1024), QRect(0, 0, 1024, 768)}) {
            const QRect frames[] = {
                QRect(QPoint(0, 0), first),
                QRect(QPoint((screen.width() - first.width()) / 2, 0), first),
                QRect(QPoint(screen.right() - first.width() + 1, 60), first),
                screen,
            };
            for (const QRect& frame : frames) {
                p.putFrame(frame);
                const QList<QRect> keep = p.form->keepClearAreas();
                QVERIFY(keep.front() == p.countArea());
                for (const auto& [name, outer] : sizes) {
                    const QSize size = outer.boundedTo(screen.size());
                    const QRect place(toolWindowPlace(frame, size, screen, keep), size);
                    const QByteArray row = QStringLiteral("%1 on %2x%3, frame at %4,%5")
                                               .arg(name)
                                               .arg(screen.width())
                                               .arg(screen.height())
                                               .arg(frame.x())
                                               .arg(frame.y())
                                               .toLatin1();
                    QVERIFY2(screen.contains(place), row);
                    // Every place on an 8-pixel grid, and the screen's far edges.
                    std::pair<qint64, qint64> best{std::numeric_limits<qint64>::max(), 0};
                    for (int x = 0; x <= screen.width() - size.width(); x += 8) {
                        for (int y = 0; y <= screen.height() - size.height(); y += 8) {
                            best = std::min(best, covered(QRect(QPoint(x, y), size), frame, keep));
                        }
                    }
                    const std::pair<qint64, qint64> ours = covered(place, frame, keep);
                    QVERIFY2(ours <= best, row);
                    if (best.first == 0) QVERIFY2(!place.intersects(p.countArea()), row);
                }
            }
        }
    }

    // Check list, Compare and Buffer open together: each keeps clear of those open already,
    // where the screen has the room (here once the first two are made small).
    void toolWindowsOpenClearOfEachOther() {
        Placing p;
        p.load(p.dvb("list.dvb", 3, 0));
        test::setBuffer(p.ws(), {test::Channel("A")});
        const QString other = p.dvb("other.dvb", 4, 0);
        const auto compare = [&] {
            p.chooser.choose(other);
            p.action("CompareFile")->trigger();
            return static_cast<QWidget*>(p.program->compareWindow());
        };
        const auto check = [&] {
            p.action("CheckList")->trigger();
            return static_cast<QWidget*>(p.program->checkWindow());
        };
        const std::pair<std::function<QWidget*()>, QSize> small[] = {{compare, QSize(560, 150)},
                                                                     {check, QSize(560, 150)}};
        for (const auto& [open, size] : small) {
            QWidget* win = open();
            win->close();
            win->resize(size);
        }
        const QList<QWidget*> windows{compare(), check(), p.openTab(Tab::Buffer)};
        const QRect screen = p.frame().screen()->availableGeometry();
        for (qsizetype i = 0; i < windows.size(); ++i) {
            QVERIFY(windows[i]->isVisible());
            QVERIFY2(screen.contains(windows[i]->frameGeometry()),
                     qPrintable(windows[i]->objectName()));
            for (qsizetype j = 0; j < i; ++j) {
                QVERIFY2(
                    !windows[i]->frameGeometry().intersects(windows[j]->frameGeometry()),
                    qPrintable(windows[i]->objectName() + " over " + windows[j]->objectName()));
            }
            QVERIFY(!windows[i]->frameGeometry().intersects(p.countArea()));
        }
    }

    void aToolWindowOpensBesideTheFrameAndWhereTheUserLastPutIt() {
        Placing p;
        p.load(p.dvb("list.dvb", 4, 0));
        p.list().selectOnly(2);
        const QRect screen = p.frame().screen()->availableGeometry();
        QWidget* data = p.openTab(Tab::Data);
        const QPoint first = data->pos();
        QCOMPARE(first, toolWindowPlace(p.frame().frameGeometry(), data->frameGeometry().size(),
                                        screen, p.form->keepClearAreas()));
        QVERIFY(screen.contains(data->frameGeometry()));
        QVERIFY(!data->frameGeometry().intersects(p.countArea()));
        // A window manager's nudge is not the user's choice.
        data->move(first + QPoint(4, 6));
        QTest::keyClick(data, Qt::Key_Escape);
        QTRY_VERIFY(p.form->openChild() == nullptr);
        QVERIFY(!p.store.toolWindowPlace("DataForm"));
        // Moved by the user: the next one opens there, and so does the next program.
        data = p.openTab(Tab::Data);
        QCOMPARE(data->pos(), first);
        const QPoint chosen(screen.left() + 13, screen.top() + 17);
        data->move(chosen);
        QTRY_VERIFY(p.store.toolWindowPlace("DataForm") == chosen);
        QTest::keyClick(data, Qt::Key_Escape);
        QTRY_VERIFY(p.form->openChild() == nullptr);
        QCOMPARE(p.openTab(Tab::Data)->pos(), chosen);
        p.form->selectTab(Tab::List);
        // Other windows keep their own places.
        test::setBuffer(p.ws(), {test::Channel("A")});
        QVERIFY(p.openTab(Tab::Buffer)->pos() != chosen);
        p.form->selectTab(Tab::List);
        // A place on no screen now is let go.
        p.store.setToolWindowPlace("DataForm", screen.bottomRight() + QPoint(500, 500));
        QCOMPARE(p.openTab(Tab::Data)->pos(), first);
    }
};

}  // namespace qel

QTEST_MAIN(qel::ToolWindowsTest)
#include "tool_windows_test.moc"
