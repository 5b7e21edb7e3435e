// Every outcome that used to reach only standard output reaches the window: the message bar,
// the export alert's path and button, and the first-launch panel.
#include "notara/core/model/Work.h"
#include "notara/tests/BooksStore.h"
#include "notara/ui/AnnotationListModel.h"
#include "notara/ui/AppIcons.h"
#include "notara/ui/DisplayPath.h"
#include "notara/ui/MessageBar.h"
#include "notara/ui/WelcomePanel.h"
#include "notara/ui/WorkDetailView.h"
#include "notara/ui/tests/support/TestEnvironment.h"
#include "notara/ui/tests/support/UrlRecorder.h"
#include "notara/ui/tests/support/WindowFixture.h"

#include "corvane/Corvane.h"

#include <QAction>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTextBoundaryFinder>
#include <QToolButton>
#include <QUrl>

#include <filesystem>

using namespace notara;
using namespace notara::test;

namespace fs = std::filesystem;

namespace {

const QString kMissingLog = QStringLiteral(
    "Recent highlights may be missing: the Books databases were copied without their -wal files. Copy the "
    "whole Data folder from the Mac, including the files ending in -wal and -shm.");

// A Books data folder in WAL mode whose rows live only in the -wal files; `keepLogs` false is
// what copying the two .sqlite files alone leaves.
QString writeWalFolder(const QString& name, bool keepLogs) {
    const BooksDataFolder folder(fs::path(testHome().toStdString()) / name.toStdString());
    {
        BooksStore library(folder.libraryFile, BooksStore::Kind::Library);
        BooksStore annotations(folder.annotationFile, BooksStore::Kind::Annotations);
        library.checkpoint();
        annotations.checkpoint();
        library.addBook({"A1", "Logged Book", "Writer"});
        AnnotationRow row;
        row.assetID = "A1";
        row.selectedText = "only in the log";
        row.uuid = "U1";
        annotations.addAnnotation(row);
        library.closeKeepingLog();
        annotations.closeKeepingLog();
    }
    if (!keepLogs) {
        for (const fs::path& store : {folder.annotationFile, folder.libraryFile}) {
            fs::remove(store.native() + "-wal");
            fs::remove(store.native() + "-shm");
        }
    }
    return QString::fromStdString(folder.root.native());
}

} // namespace

class MessagesTest : public QObject {
    Q_OBJECT

private slots:
    void init() { resetUserState(); }

    void missingLogsAreWarnedAboutOnlyWhenMissing() {
        WindowFixture fixture;
        QVERIFY(fixture.open());
        MessageBar& bar = *fixture.window().messageBar();
        QVERIFY(bar.isHidden());

        fixture.chooseBooksFolder(writeWalFolder("With Logs", true));
        QCOMPARE(fixture.rowTitles(), QStringList{"Logged Book"});
        QVERIFY(bar.isHidden());

        fixture.chooseBooksFolder(writeWalFolder("Without Logs", false));
        QCOMPARE(fixture.rowTitles(), QStringList());
        QVERIFY(!bar.isHidden());
        QCOMPARE(bar.text(), kMissingLog);
        QTest::mouseClick(bar.closeButton(), Qt::LeftButton);
        QVERIFY(bar.isHidden());

        // The rollback-journal stores of the fixture builder have no log to miss.
        fixture.chooseBooksFolder(
            fixture.writeBooksFolder("Rollback", sampleBooks(), sampleAnnotations()).folder());
        QVERIFY(bar.isHidden());
    }

    void theDocumentsFolderTheMessageAsksForLoads() {
        WindowFixture fixture;
        QVERIFY(fixture.open());
        const BooksLibraryBuilder books =
            fixture.writeBooksFolder("Data", sampleBooks(), sampleAnnotations());
        fixture.chooseBooksFolder(books.folder() + QStringLiteral("/Documents"));
        QCOMPARE(fixture.presenter().alerts, 0);
        QCOMPARE(fixture.rowTitles(), (QStringList{"a", "b"}));
    }

    void filesThatAreNotBooksDatabasesAreNamed() {
        WindowFixture fixture;
        QVERIFY(fixture.open());
        const BooksLibraryBuilder books =
            fixture.writeBooksFolder("Data", sampleBooks(), sampleAnnotations());
        QFile::remove(books.annotationFile());
        QFile fake(books.annotationFile());
        QVERIFY(fake.open(QIODevice::WriteOnly));
        fake.close();
        fixture.chooseBooksFolder(books.folder());
        QCOMPARE(fixture.window().messageBar()->text(),
                 QStringLiteral("These files are not Apple Books databases: ") +
                     QFileInfo(books.annotationFile()).fileName());
    }

    void aLibraryWithoutBooksSaysSo() {
        WindowFixture fixture;
        QVERIFY(fixture.open());
        const BooksLibraryBuilder books = fixture.writeBooksFolder("Empty Library", {}, {});
        fixture.chooseBooksFolder(books.folder());
        QCOMPARE(fixture.window().messageBar()->text(),
                 QStringLiteral("The Books library in ") + books.folder() +
                     QStringLiteral(" holds no books, so there is nothing to show."));
    }

    void aRestoreWhoseFilesAreGoneSaysWhichFolderAndWhen() {
        const BooksLibraryBuilder books =
            WindowFixture().writeBooksFolder("Moved", sampleBooks(), sampleAnnotations());
        {
            WindowFixture first;
            QVERIFY(first.open());
            first.chooseBooksFolder(books.folder());
            QCOMPARE(first.rowTitles(), (QStringList{"a", "b"}));
        }
        QVERIFY(QDir(books.folder()).removeRecursively());
        WindowFixture next;
        QVERIFY(next.open());
        MessageBar& bar = *next.window().messageBar();
        const QString today = QString::fromStdString(corvane::Corvane::dateNow());
        QCOMPARE(bar.text(),
                 QStringLiteral("The Books databases of the folder chosen on ") + today + " (" +
                     books.folder() +
                     QStringLiteral(") are gone: they were moved or deleted. Choose \"Select Books "
                                    "Folder\" to load them again."));
        QCOMPARE(bar.actionButton()->text(), QStringLiteral("Select Books Folder"));
        QTest::mouseClick(bar.actionButton(), Qt::LeftButton);
        QCOMPARE(next.presenter().folderPanels, 1);
        QVERIFY(bar.isHidden());
    }

    void aFileThatIsNotAKindleExportEmptiesTheListAndSaysWhy() {
        WindowFixture fixture;
        QVERIFY(fixture.open());
        fixture.chooseBooksFolder(
            fixture.writeBooksFolder("Data", sampleBooks(), sampleAnnotations()).folder());
        const QString path = testHome() + QStringLiteral("/recipes.html");
        QFile page(path);
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.write("<html><body><h1>Pancakes</h1></body></html>");
        page.close();
        fixture.presenter().htmlFileAnswers.push_back(PanelResult::chosen(path));
        fixture.window().selectKindleAction()->trigger();

        QCOMPARE(fixture.rowTitles(), QStringList());
        MessageBar& bar = *fixture.window().messageBar();
        QCOMPARE(bar.text(),
                 QStringLiteral("\"recipes.html\" could not be imported. It has no book title, so it is "
                                "not a Kindle Notebook export. \"Select Books Folder\" or the \"Hide "
                                "Works with no Annotations\" filter brings the library back."));
        // The empty list is the notebook's, and says so, not that the Books library has no highlights.
        QCOMPARE(fixture.window().listTitle()->text(), QStringLiteral("Kindle notebook"));
        QCOMPARE(fixture.window().emptyListLabel()->text(),
                 QStringLiteral("Nothing was imported from \u201Crecipes.html\u201D."));
        QTest::mouseClick(bar.actionButton(), Qt::LeftButton);
        QCOMPARE(fixture.rowTitles(), (QStringList{"a", "b"}));
        QCOMPARE(fixture.window().listTitle()->text(), QStringLiteral("Apple Books"));
    }

    void exportAlertNamesTheFileAndShowsItsFolder() {
        WindowFixture fixture;
        QVERIFY(fixture.open());
        fixture.chooseBooksFolder(
            fixture.writeBooksFolder("Data", sampleBooks(), sampleAnnotations()).folder());
        fixture.selectRow(fixture.rowOf("a"));
        UrlRecorder recorder;
        fixture.window().detailView()->exportAction()->trigger();

        ScriptedPresenter& presenter = fixture.presenter();
        const QString name =
            QString::fromStdString(corvane::Corvane::dateNow()) + QStringLiteral("-a-Annotations.md");
        QCOMPARE(presenter.alertTitle, QStringLiteral("Notara"));
        QCOMPARE(presenter.alertMessage, QStringLiteral("Exported all Annotations for \"a\""));
        QCOMPARE(presenter.alertInformativeText,
                 QStringLiteral("Annotations exported to ~/Downloads/") + name);
        QCOMPARE(presenter.alertActionText, QStringLiteral("Show in Folder"));
        presenter.pressAlertAction();
        QCOMPARE(recorder.opened,
                 QList<QUrl>{QUrl::fromLocalFile(QDir::homePath() + QStringLiteral("/Downloads"))});
    }

    void anExportThatCannotBeWrittenGivesTheSystemsReason() {
        WindowFixture fixture;
        QVERIFY(fixture.open());
        fixture.chooseBooksFolder(
            fixture.writeBooksFolder("Data", sampleBooks(), sampleAnnotations()).folder());
        const QString downloads = QDir::homePath() + QStringLiteral("/Downloads");
        QVERIFY(QDir(downloads).removeRecursively());
        QFile blocker(downloads);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();

        fixture.selectRow(fixture.rowOf("a"));
        fixture.window().detailView()->exportAction()->trigger();
        QCOMPARE(fixture.presenter().alertMessage, QStringLiteral("Unable to export Annotations!"));
        const QString text = fixture.window().messageBar()->text();
        QVERIFY2(text.startsWith(QStringLiteral("The annotations of \"a\" could not be written: ")),
                 qPrintable(text));
        QVERIFY2(text.size() > QStringLiteral("The annotations of \"a\" could not be written: ").size(),
                 qPrintable(text));

        QVERIFY(QFile::remove(downloads));
        QVERIFY(QDir().mkpath(downloads));
    }

    void firstLaunchSaysWhatToDoAndOpensTheSample() {
        WindowFixture fixture;
        QVERIFY(fixture.open());
        ContentView& window = fixture.window();
        QVERIFY(window.showingFirstLaunchState());
        QVERIFY(window.welcomePanel()->isVisible());
        QVERIFY(window.emptyListLabel()->isVisible());
        QCOMPARE(window.welcomePanel()->booksButton()->text(), QStringLiteral("Select Books Folder"));
        QCOMPARE(window.welcomePanel()->kindleButton()->text(),
                 QStringLiteral("Select Kindle Notes Export (.html)"));

        QTest::mouseClick(window.welcomePanel()->booksButton(), Qt::LeftButton); // cancelled by the script
        QCOMPARE(fixture.presenter().folderPanels, 1);
        QTest::mouseClick(window.welcomePanel()->kindleButton(), Qt::LeftButton);
        QCOMPARE(fixture.presenter().htmlFilePanels, 1);
        // All four sources are named and reachable from here.
        QTest::mouseClick(window.welcomePanel()->clippingsButton(), Qt::LeftButton);
        QCOMPARE(fixture.presenter().fileTitle, QStringLiteral("Select Kindle Clippings"));
        QTest::mouseClick(window.welcomePanel()->koboButton(), Qt::LeftButton);
        QCOMPARE(fixture.presenter().fileTitle, QStringLiteral("Select Kobo Database"));
        QCOMPARE(fixture.presenter().filePanels, 2);

        QTest::mouseClick(window.welcomePanel()->sampleButton(), Qt::LeftButton);
        QVERIFY(!window.showingFirstLaunchState());
        QCOMPARE(fixture.rowTitles(), QStringList{"The Lighthouse Keeper's Almanac"});
        const auto work = window.dataManager().filteredWorks().at(0);
        QCOMPARE(work->annotations.size(), size_t{5});
        int notes = 0, withNote = 0;
        for (const auto& annotation : work->annotations) {
            notes += annotation->annotationKind == Annotation::Kind::Note;
            withNote += annotation->annotationKind == Annotation::Kind::Highlight &&
                        !annotation->annotationUserNotes.empty();
        }
        QCOMPARE(notes, 1);
        QCOMPARE(withNote, 1);
        QVERIFY(window.messageBar()->isHidden());

        // Loading a library leaves the first-launch state for good.
        fixture.chooseBooksFolder(
            fixture.writeBooksFolder("Data", sampleBooks(), sampleAnnotations()).folder());
        QVERIFY(!window.showingFirstLaunchState());
        QVERIFY(window.workList()->isVisible());
    }

    void eachLoadSaysWhatIsTrueOfItAndTheListSaysWhyItIsEmpty() {
        WindowFixture fixture;
        QVERIFY(fixture.open());
        ContentView& window = fixture.window();
        MessageBar& bar = *window.messageBar();
        fixture.chooseBooksFolder(writeWalFolder("Logs Left Behind", false));
        QCOMPARE(bar.text(), kMissingLog);
        QVERIFY(window.emptyListLabel()->isVisible());
        QVERIFY(window.emptyListLabel()->text().contains(QStringLiteral("-wal files")));
        QCOMPARE(window.listTitle()->text(), QStringLiteral("Apple Books"));
        // The next load, with nothing missing: the warning goes with the load it was about.
        fixture.chooseBooksFolder(
            fixture.writeBooksFolder("Rollback", sampleBooks(), sampleAnnotations()).folder());
        QVERIFY(bar.isHidden());
        QVERIFY(window.workList()->isVisible());

        // Nothing selected: the pane says what to do.
        QLabel* hint = nullptr;
        for (QLabel* label : window.detailView()->findChildren<QLabel*>())
            if (label->isVisible() && label->text() == QStringLiteral("Select a book to see its highlights"))
                hint = label;
        QVERIFY(hint);

        // A search that finds nothing says so; a work it leaves out is not offered for export.
        fixture.selectRow(fixture.rowOf(QStringLiteral("a")));
        QVERIFY(window.detailView()->exportAction()->isVisible());
        window.searchField()->setText(QStringLiteral("Only passage of b"));
        QTRY_COMPARE(fixture.rowTitles(), QStringList{"b"});
        QVERIFY(!window.detailView()->exportAction()->isVisible());
        window.searchField()->setText(QStringLiteral("zzzz"));
        QTRY_VERIFY(window.emptyListLabel()->isVisible());
        QCOMPARE(window.emptyListLabel()->text(), QStringLiteral("No highlights match \u201Czzzz\u201D"));
        window.searchField()->clear();
        QTRY_VERIFY(window.workList()->isVisible());
        QCOMPARE(window.selectedWork()->workTitle, std::string("a"));
        QVERIFY(window.detailView()->exportAction()->isVisible()); // back with the search gone
    }

    void theKeyboardReachesEveryActionAndPassesOverChapters() {
        WindowFixture fixture;
        QVERIFY(fixture.open());
        ContentView& window = fixture.window();
        QCOMPARE(window.selectBooksFolderAction()->shortcut(), QKeySequence(QKeySequence::Open));
        QCOMPARE(window.selectKindleAction()->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+O")));
        QCOMPARE(window.exportAllAction()->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+E")));
        QCOMPARE(window.detailView()->exportAction()->shortcut(), QKeySequence(QStringLiteral("Ctrl+E")));
        window.activateWindow();
        QTRY_VERIFY(window.isActiveWindow());
        QTest::keyClick(&window, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(fixture.presenter().folderPanels, 1);
        QTest::keyClick(&window, Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(fixture.presenter().htmlFilePanels, 1);
        QTest::keyClick(&window, Qt::Key_E, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(fixture.presenter().folderPanels, 2);

        window.openSampleNotebook(); // chapters: a heading row before each chapter's cards
        QCOMPARE(window.listTitle()->text(), QStringLiteral("Kindle notebook"));
        // The sample has no dates: there is nothing to sort by date.
        QAction* byDate = nullptr;
        for (QAction* action : window.sortMenu()->actions())
            if (action->text() == QStringLiteral("Date Highlighted")) byDate = action;
        QVERIFY(byDate && !byDate->isEnabled());
        fixture.selectRow(0);
        QListView* cards = window.detailView()->annotationList();
        const QAbstractItemModel* model = cards->model();
        QVERIFY(model->index(0, 0).data(AnnotationListModel::IsChapterRole).toBool());
        cards->setFocus();
        QTest::keyClick(cards, Qt::Key_Down);
        int row = cards->currentIndex().row();
        QVERIFY(!model->index(row, 0).data(AnnotationListModel::IsChapterRole).toBool());
        for (int step = 0; step < 6; ++step) {
            QTest::keyClick(cards, Qt::Key_Down);
            row = cards->currentIndex().row();
            QVERIFY2(!model->index(row, 0).data(AnnotationListModel::IsChapterRole).toBool(),
                     "on a chapter row");
        }
        QCOMPARE(row, model->rowCount() - 1);
        QTest::keyClick(cards, Qt::Key_E, Qt::ControlModifier); // export this work
        QVERIFY(fixture.presenter().alertOpen());
        fixture.presenter().dismissAlert();
        QTest::keyClick(cards, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(QGuiApplication::clipboard()->text().startsWith(QStringLiteral("\u201C")));
        QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("Copied"));
        // A screen reader reads a card as passage, note and place; a chapter row as its chapter.
        const QModelIndex card = model->index(row, 0);
        const QString spoken = card.data(Qt::AccessibleTextRole).toString();
        QVERIFY(spoken.startsWith(card.data(Qt::DisplayRole).toString()));
        QVERIFY(spoken.endsWith(card.data(AnnotationListModel::PlaceLineRole).toString()));
        QCOMPARE(model->index(0, 0).data(Qt::AccessibleTextRole), model->index(0, 0).data(Qt::DisplayRole));

        // Tabbing into the list of books marks its only row without selecting it: the first
        // arrow key selects that row rather than doing nothing.
        window.openSampleNotebook();
        QVERIFY(window.detailView()->selectedWork() == nullptr);
        QListView* books = window.workList();
        books->setFocus(Qt::TabFocusReason);
        books->setCurrentIndex(books->model()->index(0, 0)); // what focusing by Tab does
        books->selectionModel()->clearSelection();
        QTest::keyClick(books, Qt::Key_Down);
        QVERIFY(window.detailView()->selectedWork() != nullptr);
    }

    void panelsSayWhatToChooseAndAlertsKeepPathsWhole() {
        WindowFixture fixture;
        QVERIFY(fixture.open());
        ContentView& window = fixture.window();
        ScriptedPresenter& presenter = fixture.presenter();
        const std::pair<QAction*, QString> panels[] = {
            {window.selectBooksFolderAction(), QStringLiteral("Select Books Folder")},
            {window.selectKindleAction(), QStringLiteral("Select Kindle Notes Export (.html)")},
            {window.exportAllAction(), QStringLiteral("Export All Works")},
            {window.selectReaderAction(SourceKind::Foliate), QStringLiteral("Select Foliate Folder")}};
        for (const auto& [action, title] : panels) {
            presenter.panelTitle.clear();
            action->trigger();
            QCOMPARE(presenter.panelTitle, title);
        }

        // A wrapping label may break the path at its spaces, never at "~/", "/" or a hyphen.
        const QString path = QStringLiteral("~/Downloads/2026-12-09-The Long-Awaited Guest-Annotations.md");
        const QString shown = DisplayPath::unbrokenPaths(QStringLiteral("Annotations exported to ") + path);
        QString visible = shown;
        visible.remove(QChar(0x2060));
        QCOMPARE(visible, QStringLiteral("Annotations exported to ") + path);
        QTextBoundaryFinder lines(QTextBoundaryFinder::Line, shown);
        const qsizetype pathStart = shown.indexOf(QLatin1Char('~'));
        for (qsizetype at = lines.toNextBoundary(); at > 0 && at < shown.size();
             at = lines.toNextBoundary()) {
            if (at <= pathStart) continue;
            QVERIFY2(shown[at - 1].isSpace(),
                     qPrintable(QStringLiteral("breaks after \"%1\"").arg(shown.left(at))));
        }
        QCOMPARE(DisplayPath::unbrokenPaths(QStringLiteral("a well-known book")),
                 QStringLiteral("a well-known book")); // words outside paths keep their breaks
    }

    void iconsTakeThePalettesTextColour() {
        const QPalette original = QGuiApplication::palette();
        for (const QColor text : {QColor(Qt::black), QColor(230, 230, 230)}) {
            QPalette palette = original;
            palette.setColor(QPalette::WindowText, text);
            QGuiApplication::setPalette(palette);
            const QImage image = AppIcons::actions().pixmap(32).toImage();
            int painted = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) {
                    const QColor pixel = image.pixelColor(x, y);
                    if (pixel.alpha() < 255) continue;
                    ++painted;
                    QCOMPARE(pixel.rgb(), text.rgb());
                }
            QVERIFY(painted > 0);
        }
        QGuiApplication::setPalette(original);
    }

    void messagesLookAndLastAsTheirKindSays() {
        WindowFixture fixture;
        QVERIFY(fixture.open());
        MessageBar& bar = *fixture.window().messageBar();
        MessageBar::informationMilliseconds = 50;
        bar.showMessage(MessageBar::Kind::Information, QStringLiteral("2 books read"));
        const qint64 information = bar.icon()->pixmap().cacheKey();
        QVERIFY(!bar.isHidden());
        QTRY_VERIFY(bar.isHidden()); // information leaves by itself
        bar.showMessage(MessageBar::Kind::Error, QStringLiteral("Could not"));
        QVERIFY(bar.icon()->pixmap().cacheKey() != information);
        QTest::qWait(150);
        QVERIFY(!bar.isHidden()); // errors stay until dismissed
        bar.showMessage(MessageBar::Kind::Information, QStringLiteral("Kobo connected:"),
                        QStringLiteral("Import"), [] {});
        QTest::qWait(150);
        QVERIFY(!bar.isHidden()); // an offer stays too
        MessageBar::informationMilliseconds = 6000;

        // A warning with a remedy offers it.
        fixture.chooseBooksFolder(writeWalFolder("Logs Missing Again", false));
        QCOMPARE(bar.kind(), MessageBar::Kind::Warning);
        QCOMPARE(bar.actionButton()->text(), QStringLiteral("Select Books Folder"));
    }
};

NOTARA_UI_TEST_MAIN(MessagesTest)
#include "MessagesTest.moc"
