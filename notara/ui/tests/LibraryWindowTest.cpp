// The reader's library in the real window: imports kept (or not), "All Highlights" across
// launches, "Hide Removed", forgetting a source, the marks on a card, and the command line
// adding to the library while the window is open.
#include "notara/core/library/Library.h"
#include "notara/core/model/Work.h"
#include "notara/ui/AnnotationListModel.h"
#include "notara/ui/LibraryActions.h"
#include "notara/ui/MessageBar.h"
#include "notara/ui/WorkDetailView.h"
#include "notara/ui/WorkListModel.h"
#include "notara/ui/tests/support/TestEnvironment.h"
#include "notara/ui/tests/support/WindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <fstream>

using namespace notara;
using namespace notara::test;

namespace {

std::string clipping(const std::string& book, const std::string& where, const std::string& text) {
    return book + "\r\n- Your Highlight on " + where + " | Added on Friday, June 6, 2025 8:01:10 PM\r\n\r\n" +
           text + "\r\n==========\r\n";
}

QString writeClippings(const QString& name, const std::string& bytes) {
    const std::filesystem::path file = (testHome() + QStringLiteral("/") + name).toStdString();
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
    return QString::fromStdString(file.native());
}

const std::string salt1 = clipping("Salt Roads (Lena Hart)", "Location 10-12", "The road remembered her.");
const std::string salt2 = clipping("Salt Roads (Lena Hart)", "Location 40-41", "Twice a day.");
const std::string reeds = clipping("Among the Reeds (A. Reyes)", "Location 5-6", "Reeds bend.");

int annotationCount(const QStringList& lines, int row) {
    return lines.value(row).section(QLatin1Char(' '), 2, 2).toInt();
}

} // namespace

class LibraryWindowTest : public QObject {
    Q_OBJECT

    void importClippings(WindowFixture& fixture, const QString& file) {
        fixture.presenter().fileAnswers.push_back(PanelResult::chosen(file));
        fixture.window().selectClippingsAction()->trigger();
        QTRY_VERIFY(!fixture.window().library()->adding());
    }

private slots:
    void init() { resetUserState(); }

    void importsAreKeptAndAllHighlightsListsThemAcrossLaunches() {
        {
            WindowFixture fixture;
            QVERIFY(fixture.open());
            ContentView& window = fixture.window();
            QVERIFY(window.library()->keepAction()->isChecked()); // on by default
            fixture.chooseBooksFolder(
                fixture.writeBooksFolder("Data", sampleBooks(), sampleAnnotations()).folder());
            QTRY_VERIFY(!window.library()->adding());
            QCOMPARE(
                window.statusBar()->currentMessage(),
                QStringLiteral("Kept in your library: 3 new, 0 changed, 0 removed at source, 0 unchanged"));
            importClippings(fixture,
                            writeClippings(QStringLiteral("Kindle/My Clippings.txt"), salt1 + reeds));
            // The import itself is listed, as before.
            QCOMPARE(fixture.rowTitles(), (QStringList{"Among the Reeds", "Salt Roads"}));
            QVERIFY(!window.library()->showingAllHighlights());

            window.library()->allHighlightsAction()->trigger();
            QVERIFY(window.library()->showingAllHighlights());
            QCOMPARE(fixture.rowTitles(), (QStringList{"Among the Reeds", "Salt Roads", "a", "b"}));
            const QStringList lines = fixture.rowCountLines();
            QVERIFY(lines[2].endsWith(QStringLiteral(" \u00B7 Apple Books")));
            QVERIFY(lines[1].endsWith(QStringLiteral(" \u00B7 Kindle (My Clippings.txt)")));

            // Search, selection and the hide rule work on it as on any list.
            fixture.selectRow(1);
            QCOMPARE(window.selectedWork()->workTitle, std::string("Salt Roads"));
            window.hideNoAnnotationsAction()->trigger(); // off: the library's works without annotations too
            QVERIFY(fixture.rowTitles().contains(QStringLiteral("B")));
            QVERIFY(window.library()->showingAllHighlights());
            window.hideNoAnnotationsAction()->trigger();
        }
        WindowFixture again; // the next launch shows the library again
        QVERIFY(again.open());
        QTRY_VERIFY(again.window().library()->showingAllHighlights());
        QCOMPARE(again.rowTitles(), (QStringList{"Among the Reeds", "Salt Roads", "a", "b"}));
        QVERIFY(again.window().library()->allHighlightsAction()->isChecked());
        // An import shows the import and leaves the library.
        importClippings(again, writeClippings(QStringLiteral("Kindle/My Clippings.txt"), salt1 + reeds));
        QCOMPARE(again.rowTitles(), (QStringList{"Among the Reeds", "Salt Roads"}));
        QVERIFY(!again.window().library()->allHighlightsAction()->isChecked());
    }

    void withKeepingOffNothingIsWritten() {
        WindowFixture fixture;
        QVERIFY(fixture.open());
        fixture.window().library()->keepAction()->trigger();
        QVERIFY(!QSettings().value(LibraryActions::kKeepKey).toBool());
        importClippings(fixture, writeClippings(QStringLiteral("Kindle/My Clippings.txt"), salt1));
        QCOMPARE(fixture.rowTitles(), (QStringList{"Salt Roads"}));
        QVERIFY(!std::filesystem::exists(fixture.window().library()->libraryFile()));
    }

    void removedHighlightsShowOnTheirCardAndHideOnRequest() {
        WindowFixture fixture;
        QVERIFY(fixture.open());
        ContentView& window = fixture.window();
        const QString file = writeClippings(QStringLiteral("Kindle/My Clippings.txt"), salt1 + salt2);
        importClippings(fixture, file);
        writeClippings(QStringLiteral("Kindle/My Clippings.txt"), salt1); // the second highlight is gone
        importClippings(fixture, file);
        window.library()->allHighlightsAction()->trigger();
        QCOMPARE(annotationCount(fixture.rowCountLines(), 0), 2);
        fixture.selectRow(0);
        const QAbstractItemModel* cards = window.detailView()->annotationList()->model();
        QString places;
        for (int row = 0; row < cards->rowCount(); ++row)
            places += cards->index(row, 0).data(AnnotationListModel::PlaceLineRole).toString() + '|';
        QVERIFY2(places.contains(QStringLiteral("Removed at source on ")), qPrintable(places));

        window.library()->hideRemovedAction()->trigger();
        QCOMPARE(annotationCount(fixture.rowCountLines(), 0), 1);
        QVERIFY(QSettings().value(LibraryActions::kHideRemovedKey).toBool());
    }

    void aSourceIsForgottenAfterAConfirmationThatCountsWhatGoes() {
        WindowFixture fixture;
        QVERIFY(fixture.open());
        ContentView& window = fixture.window();
        importClippings(fixture, writeClippings(QStringLiteral("A/My Clippings.txt"), salt1 + salt2));
        importClippings(fixture, writeClippings(QStringLiteral("B/My Clippings.txt"), reeds));
        window.library()->allHighlightsAction()->trigger();
        QCOMPARE(fixture.rowTitles(), (QStringList{"Among the Reeds", "Salt Roads"}));

        QMenu* forget = window.library()->forgetMenu();
        emit forget->aboutToShow();
        QCOMPARE(forget->actions().size(), 2);
        forget->actions().first()->trigger();
        ScriptedPresenter& presenter = fixture.presenter();
        QVERIFY(presenter.alertOpen());
        QCOMPARE(presenter.alertMessage, QStringLiteral("Forget \u201CKindle (My Clippings.txt)\u201D?"));
        QVERIFY(presenter.alertInformativeText.startsWith(QStringLiteral("2 highlights leave")));
        presenter.dismissAlert(); // cancelled: nothing goes
        QCOMPARE(fixture.rowTitles().size(), 2);
        forget->actions().first()->trigger();
        presenter.pressAlertAction();
        QCOMPARE(fixture.rowTitles(), (QStringList{"Among the Reeds"}));
        emit forget->aboutToShow();
        QCOMPARE(forget->actions().size(), 1);
    }

    void favouriteAndTagsFromACard() {
        WindowFixture fixture;
        QVERIFY(fixture.open());
        ContentView& window = fixture.window();
        importClippings(fixture, writeClippings(QStringLiteral("Kindle/My Clippings.txt"), salt1));
        // A plain import's cards carry no marks.
        fixture.selectRow(0);
        QCOMPARE(window.detailView()->contextMenuForRow(0)->actions().size(), 2);

        window.library()->allHighlightsAction()->trigger();
        fixture.selectRow(0);
        QListView* cards = window.detailView()->annotationList();
        const int card = 0;
        auto menu = window.detailView()->contextMenuForRow(card);
        QStringList texts;
        for (QAction* action : menu->actions())
            texts << action->text();
        QCOMPARE(texts,
                 (QStringList{"Copy", "Copy as Citation", "", "Favourite", QStringLiteral("Tags\u2026")}));
        menu->actions()[3]->trigger();
        QVERIFY(cards->model()
                    ->index(card, 0)
                    .data(AnnotationListModel::PlaceLineRole)
                    .toString()
                    .startsWith(QStringLiteral("\u2605")));

        fixture.presenter().textAnswers.push_back(QStringLiteral("sea, later ,,sea"));
        cards->setCurrentIndex(cards->model()->index(card, 0));
        // Shortcuts reach only an active window (so on a real display, not only offscreen).
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        cards->setFocus();
        QTest::keyClick(cards, Qt::Key_T, Qt::ControlModifier);
        QCOMPARE(fixture.presenter().textInputs, 1);
        QVERIFY(cards->model()
                    ->index(card, 0)
                    .data(AnnotationListModel::PlaceLineRole)
                    .toString()
                    .endsWith(QStringLiteral("#later \u00B7 #sea")));
        QTest::keyClick(cards, Qt::Key_D, Qt::ControlModifier); // not a favourite any more
        QVERIFY(!cards->model()
                     ->index(card, 0)
                     .data(AnnotationListModel::PlaceLineRole)
                     .toString()
                     .startsWith(QStringLiteral("\u2605")));

        // Kept in the file: a later launch sees them.
        std::string problem;
        auto library = Library::open(window.library()->libraryFile(), problem);
        const auto works = library->works();
        QCOMPARE(works[0]->annotations[0]->annotationLibrary->tags,
                 (std::vector<std::string>{"later", "sea"}));
        QVERIFY(!works[0]->annotations[0]->annotationLibrary->favourite);
    }

    // The same marks as a reader makes them: by mouse (a right click on the card, a click on the
    // menu's entry) and by keyboard alone (Tab to the cards, the shortcuts).
    void marksByMouseAndByKeyboardAlone() {
        WindowFixture fixture;
        QVERIFY(fixture.open());
        ContentView& window = fixture.window();
        importClippings(fixture, writeClippings(QStringLiteral("Kindle/My Clippings.txt"), salt1 + salt2));
        window.library()->allHighlightsAction()->trigger();
        fixture.selectRow(0);
        QListView* cards = window.detailView()->annotationList();
        const auto placeLine = [&] {
            return cards->model()->index(0, 0).data(AnnotationListModel::PlaceLineRole).toString();
        };
        const auto shoot = [&](const char* name) {
            if (const QByteArray folder = qgetenv("NOTARA_TEST_SHOTS"); !folder.isEmpty())
                window.grab().save(QString::fromLocal8Bit(folder) + QLatin1Char('/') + QLatin1String(name));
        };

        const QPoint onCard = cards->visualRect(cards->model()->index(0, 0)).center();
        QTest::mouseClick(cards->viewport(), Qt::LeftButton, {}, onCard);
        bool clicked = false;
        QTimer::singleShot(100, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu) return;
            for (QAction* action : menu->actions()) {
                if (action->text() != QStringLiteral("Favourite")) continue;
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
                clicked = true;
            }
            if (!clicked) menu->close();
        });
        QContextMenuEvent rightClick(QContextMenuEvent::Mouse, onCard,
                                     cards->viewport()->mapToGlobal(onCard));
        QApplication::sendEvent(cards->viewport(), &rightClick);
        QVERIFY(clicked);
        QTRY_VERIFY(placeLine().startsWith(QStringLiteral("\u2605")));
        shoot("marked-by-mouse.png");

        // Keyboard alone: from the search field, Tab reaches the cards.
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.searchField()->setFocus();
        for (int tab = 0; tab < 20 && QApplication::focusWidget() != cards; ++tab)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), cards);
        QTest::keyClick(cards, Qt::Key_Home);
        QTest::keyClick(cards, Qt::Key_D, Qt::ControlModifier);
        QVERIFY(!placeLine().startsWith(QStringLiteral("\u2605")));
        fixture.presenter().textAnswers.push_back(QStringLiteral("coast"));
        QTest::keyClick(cards, Qt::Key_T, Qt::ControlModifier);
        QVERIFY(placeLine().endsWith(QStringLiteral("#coast")));
        shoot("marked-by-keyboard.png");
    }

    void syncToFolderRemembersTheFolderAndSaysWhatItDid() {
        WindowFixture fixture;
        QVERIFY(fixture.open());
        ContentView& window = fixture.window();
        importClippings(fixture,
                        writeClippings(QStringLiteral("Kindle/My Clippings.txt"), salt1 + salt2 + reeds));
        const QString notes = testHome() + QStringLiteral("/Notes");
        fixture.presenter().folderAnswers.push_back(PanelResult::chosen(notes));
        window.library()->syncAction()->trigger();
        QCOMPARE(fixture.presenter().folderPanels, 1); // the first time: which folder
        QVERIFY(
            window.statusBar()->currentMessage().startsWith(QStringLiteral("Syncing to "))); // its progress
        QTRY_VERIFY(!window.library()->syncing());
        QCOMPARE(window.messageBar()->text(), QStringLiteral("2 files written (2 new), 3 highlights added"));
        QCOMPARE(window.messageBar()->actionButton()->text(), QStringLiteral("Show in Folder"));
        QVERIFY(std::filesystem::exists((notes + QStringLiteral("/Salt Roads.md")).toStdString()));
        window.library()->syncAction()->trigger(); // then the remembered one
        QCOMPARE(fixture.presenter().folderPanels, 1);
        QTRY_VERIFY(!window.library()->syncing());
        QCOMPARE(window.messageBar()->text(),
                 QStringLiteral("Your notes folder is up to date: nothing changed."));
        window.library()->changeSyncFolderAction()->trigger();
        QCOMPARE(fixture.presenter().folderPanels, 2);
    }

    void theCommandLineAddsWhileTheWindowIsOpen() {
        WindowFixture fixture;
        QVERIFY(fixture.open());
        ContentView& window = fixture.window();
        importClippings(fixture, writeClippings(QStringLiteral("A/My Clippings.txt"), salt1));
        window.library()->allHighlightsAction()->trigger();
        QCOMPARE(fixture.rowTitles(), (QStringList{"Salt Roads"}));

        QProcess cli;
        // Without --library: the command line's library is the window's.
        cli.start(
            QStringLiteral(NOTARA_CLI_PATH),
            {"library", "add", "--clippings", writeClippings(QStringLiteral("B/My Clippings.txt"), reeds)});
        QVERIFY(cli.waitForFinished(30000));
        QCOMPARE(cli.exitCode(), 0);
        QCOMPARE(cli.readAllStandardError(), QByteArray());
        QCOMPARE(fixture.rowTitles(), (QStringList{"Salt Roads"})); // until the window looks again
        QEvent activation(QEvent::ActivationChange);
        window.activateWindow();
        QTRY_VERIFY(window.isActiveWindow());
        QCoreApplication::sendEvent(&window, &activation);
        QCOMPARE(fixture.rowTitles(), (QStringList{"Among the Reeds", "Salt Roads"}));
    }
};

NOTARA_UI_TEST_MAIN(LibraryWindowTest)
#include "LibraryWindowTest.moc"
