// The main window driven as a user would: the Actions menu, the panels, the list and the filter.
#include "corvane/Corvane.h"
#include "corvane/FSSandboxBookmarking.h"
#include "notara/core/model/Work.h"
#include "notara/ui/WorkDetailView.h"
#include "notara/ui/tests/support/TestEnvironment.h"
#include "notara/ui/tests/support/WindowFixture.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QSettings>
#include <QTest>
#include <QToolButton>

using namespace notara;
using namespace notara::test;

namespace {

const QString kLastSelect = QStringLiteral("iBooks Directory-Last Select");

QString resolved(const char* key) {
    const auto path = corvane::FSSandboxBookmarking::resolveBookmark(key);
    return path ? QString::fromStdString(path->string()) : QString();
}

} // namespace

class ContentViewTest : public QObject {
    Q_OBJECT

private slots:
    void init() { resetUserState(); }

    void firstLaunchShowsAnEmptyListWithTheMenuAndCaption() {
        WindowFixture fixture;
        QVERIFY(fixture.open());
        ContentView& window = fixture.window();
        QCOMPARE(window.windowTitle(), QStringLiteral("Notara"));
        QCOMPARE(fixture.rowTitles(), QStringList());
        QVERIFY(window.hidingCaption()->isVisible());
        QCOMPARE(window.hidingCaption()->text(), QStringLiteral("Hiding Works with no Annotations"));
        QCOMPARE(window.sidebar()->width(), 300);
        QCOMPARE(window.lastSelectediBooksDate(), QStringLiteral("N/A"));

        QCOMPARE(window.actionsButton()->text(), QStringLiteral("Actions"));
        QVERIFY(!window.actionsButton()->icon().isNull());
        QStringList entries;
        for (QAction* action : window.actionsMenu()->actions())
            entries << (action->isSeparator() ? QStringLiteral("---") : action->text());
        QCOMPARE(entries, (QStringList{"Select Books Folder",
                                       "---",
                                       "Select Kindle Notes Export (.html)",
                                       "---",
                                       "Hide Works with no Annotations",
                                       "---",
                                       "Select Kindle Clippings (My Clippings.txt)",
                                       "Select Kobo Database (KoboReader.sqlite)",
                                       "---",
                                       "Sort",
                                       "Detailed Export",
                                       QStringLiteral("Export All Works\u2026"),
                                       "---",
                                       "All Highlights",
                                       "Hide Removed",
                                       "Keep Imports in Library",
                                       "Forget Source",
                                       QStringLiteral("Sync to Folder\u2026"),
                                       QStringLiteral("Change Sync Folder\u2026"),
                                       "---",
                                       QStringLiteral("Find Highlights on This Computer\u2026"),
                                       QStringLiteral("Select KOReader Folder\u2026"),
                                       QStringLiteral("Select Foliate Folder\u2026"),
                                       QStringLiteral("Select calibre Library\u2026"),
                                       "---",
                                       "About Notara"}));
        QVERIFY(!window.selectBooksFolderAction()->icon().isNull());
        QVERIFY(!window.selectKindleAction()->icon().isNull());
        QVERIFY(!window.hideNoAnnotationsAction()->icon().isNull()); // the checkmark: the filter starts on
    }

    void folderWithBothDatabasesLoadsAndListsOnlyAnnotatedWorks() {
        WindowFixture fixture;
        QVERIFY(fixture.open());
        const BooksLibraryBuilder books =
            fixture.writeBooksFolder("Data", sampleBooks(), sampleAnnotations());
        fixture.chooseBooksFolder(books.folder());

        ScriptedPresenter& presenter = fixture.presenter();
        QCOMPARE(presenter.folderPanels, 1);
        QCOMPARE(
            presenter.folderMessage,
            QStringLiteral("Select the \"Documents\" directory for the Books App. This directory is usually "
                           "found at: ~/Library/Containers/com.apple.iBooksX/Data/"));
        QCOMPARE(presenter.folderStart, QDir::homePath()); // no Books container on this machine
        QVERIFY(!fixture.window().selectiBooksDirectoryPresenting());
        QCOMPARE(presenter.alerts, 0);
        QVERIFY(!fixture.window().showiBooksAlert());

        const QString today = QString::fromStdString(corvane::Corvane::dateNow());
        QCOMPARE(fixture.window().lastSelectediBooksDate(), today);
        QCOMPARE(QSettings().value(kLastSelect).toString(), today);
        QCOMPARE(resolved("Books Library"), books.libraryFile());
        QCOMPARE(resolved("Books Annotation"), books.annotationFile());
        QCOMPARE(resolved("iBooks Directory"), books.folder());

        QCOMPARE(fixture.rowTitles(), (QStringList{"a", "b"}));
        QCOMPARE(fixture.rowCountLines(), (QStringList{"Total Annotations: 2", "Total Annotations: 1"}));
    }

    void booksPanelStartsInTheBooksContainerWhenItExists() {
        const QString container =
            QDir::homePath() + QStringLiteral("/Library/Containers/com.apple.iBooksX/Data/");
        QVERIFY(QDir().mkpath(container));
        WindowFixture fixture;
        QVERIFY(fixture.open());
        fixture.window().selectBooksFolderAction()->trigger(); // cancelled
        QCOMPARE(fixture.presenter().folderStart, container);
        QDir(QDir::homePath() + QStringLiteral("/Library")).removeRecursively();
    }

    void missingDatabasesRaiseTheAlertAndKeepEarlierWorks() {
        const BooksLibraryBuilder books =
            WindowFixture().writeBooksFolder("Data", sampleBooks(), sampleAnnotations());
        QVERIFY(
            corvane::FSSandboxBookmarking::saveBookmark(books.libraryFile().toStdString(), "Books Library"));
        QVERIFY(corvane::FSSandboxBookmarking::saveBookmark(books.annotationFile().toStdString(),
                                                            "Books Annotation"));
        QSettings().setValue(kLastSelect, QStringLiteral("2001-02-03"));

        WindowFixture fixture;
        QVERIFY(fixture.open());
        QCOMPARE(fixture.rowTitles(), (QStringList{"a", "b"})); // restored at launch
        fixture.selectRow(0);
        QCOMPARE(fixture.window().selectedWork()->workTitle, std::string("a"));

        const BooksLibraryBuilder onlyLibrary = fixture.writeBooksFolder(
            "OnlyLibrary", {{"ID-x", "x", "X"}}, {}, /*withAnnotationDatabase=*/false);
        fixture.chooseBooksFolder(onlyLibrary.folder());

        ScriptedPresenter& presenter = fixture.presenter();
        QCOMPARE(presenter.alerts, 1);
        QCOMPARE(presenter.alertTitle, QStringLiteral("Alert!"));
        QCOMPARE(presenter.alertMessage, QStringLiteral("Unable to find Annotation Database!\n"));
        QVERIFY(fixture.window().showiBooksAlert());
        presenter.dismissAlert();
        QVERIFY(!fixture.window().showiBooksAlert());

        QCOMPARE(resolved("Books Library"), onlyLibrary.libraryFile());
        QCOMPARE(resolved("Books Annotation"), books.annotationFile());
        QCOMPARE(fixture.window().lastSelectediBooksDate(), QStringLiteral("2001-02-03"));
        QCOMPARE(QSettings().value(kLastSelect).toString(), QStringLiteral("2001-02-03"));
        QCOMPARE(fixture.rowTitles(), (QStringList{"a", "b"}));
        QVERIFY(!fixture.window().selectedWork());
        QCOMPARE(fixture.window().windowTitle(), QStringLiteral("Notara"));

        const QString empty = QDir::homePath() + QStringLiteral("/Empty");
        QVERIFY(QDir().mkpath(empty));
        fixture.chooseBooksFolder(empty);
        QCOMPARE(presenter.alertMessage,
                 QStringLiteral("Unable to find Annotation Database!\nUnable to find Library Database!"));
        QCOMPARE(fixture.rowTitles(), (QStringList{"a", "b"}));
    }

    void filterOffListsEveryWorkAndDropsTheCheckmark() {
        WindowFixture fixture;
        QVERIFY(fixture.open());
        fixture.chooseBooksFolder(
            fixture.writeBooksFolder("Data", sampleBooks(), sampleAnnotations()).folder());
        ContentView& window = fixture.window();

        window.hideNoAnnotationsAction()->trigger();
        QVERIFY(!window.hideNoAnnotations());
        QCOMPARE(fixture.rowTitles(), (QStringList{"B", "a", "b"}));
        QCOMPARE(fixture.rowCountLines(),
                 (QStringList{"Total Annotations: 0", "Total Annotations: 2", "Total Annotations: 1"}));
        QVERIFY(window.hideNoAnnotationsAction()->icon().isNull());
        QVERIFY(!window.hidingCaption()->isVisible());

        window.hideNoAnnotationsAction()->trigger();
        QCOMPARE(fixture.rowTitles(), (QStringList{"a", "b"}));
        QVERIFY(!window.hideNoAnnotationsAction()->icon().isNull());
        QVERIFY(window.hidingCaption()->isVisible());
    }

    void selectionDrivesTheDetailAndClearingItKeepsTheWork() {
        WindowFixture fixture;
        QVERIFY(fixture.open());
        fixture.chooseBooksFolder(
            fixture.writeBooksFolder("Data", sampleBooks(), sampleAnnotations()).folder());
        ContentView& window = fixture.window();

        fixture.selectRow(fixture.rowOf("b"));
        const std::shared_ptr<Work> b = window.selectedWork();
        QVERIFY(b);
        QCOMPARE(b->workTitle, std::string("b"));
        QCOMPARE(window.selectedWorkID(), std::optional<QUuid>(b->id));
        QCOMPARE(window.detailView()->selectedWork(), b);
        QCOMPARE(window.windowTitle(), QStringLiteral("b"));

        window.workList()->selectionModel()->clearSelection();
        QCOMPARE(window.selectedWorkID(), std::nullopt);
        QCOMPARE(window.selectedWork(), b);
        QCOMPARE(window.detailView()->selectedWork(), b);
        QCOMPARE(window.windowTitle(), QStringLiteral("b"));

        // A filter change rebuilds the rows; the selected row stays marked and shown.
        fixture.selectRow(fixture.rowOf("a"));
        window.setHideNoAnnotations(false);
        QCOMPARE(window.workList()->currentIndex().row(), fixture.rowOf("a"));
        QCOMPARE(window.selectedWork()->workTitle, std::string("a"));
    }

    void cancelledOrFailedPanelsChangeNothing() {
        WindowFixture fixture;
        QVERIFY(fixture.open());
        fixture.chooseBooksFolder(
            fixture.writeBooksFolder("Data", sampleBooks(), sampleAnnotations()).folder());
        ContentView& window = fixture.window();
        fixture.selectRow(fixture.rowOf("a"));
        const std::shared_ptr<Work> a = window.selectedWork();
        const QString date = window.lastSelectediBooksDate();
        QSettings().remove(QStringLiteral("iBooks Directory"));

        window.selectBooksFolderAction()->trigger(); // the script is empty: cancelled
        fixture.presenter().folderAnswers.push_back(PanelResult::failed(QStringLiteral("panel failed")));
        window.selectBooksFolderAction()->trigger();
        window.selectKindleAction()->trigger();

        QVERIFY(!window.selectiBooksDirectoryPresenting());
        QVERIFY(!window.selectKindlePresenting());
        QCOMPARE(fixture.rowTitles(), (QStringList{"a", "b"}));
        QCOMPARE(window.selectedWork(), a);
        QCOMPARE(window.lastSelectediBooksDate(), date);
        QVERIFY(!QSettings().contains(QStringLiteral("iBooks Directory")));
        QCOMPARE(fixture.presenter().alerts, 0);
    }

    void launchRestoreNeedsBothBookmarks() {
        const BooksLibraryBuilder books =
            WindowFixture().writeBooksFolder("Data", sampleBooks(), sampleAnnotations());
        QVERIFY(
            corvane::FSSandboxBookmarking::saveBookmark(books.libraryFile().toStdString(), "Books Library"));
        {
            WindowFixture fixture;
            QVERIFY(fixture.open());
            QCOMPARE(fixture.rowTitles(), QStringList());
        }
        QVERIFY(corvane::FSSandboxBookmarking::saveBookmark(books.annotationFile().toStdString(),
                                                            "Books Annotation"));
        WindowFixture fixture;
        QVERIFY(fixture.open());
        QCOMPARE(fixture.rowTitles(), (QStringList{"a", "b"}));
        QCOMPARE(fixture.window().lastSelectediBooksDate(), QStringLiteral("N/A"));
    }
};

NOTARA_UI_TEST_MAIN(ContentViewTest)
#include "ContentViewTest.moc"
