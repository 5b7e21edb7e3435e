// Drives the real window through its main states on a real display (run under xvfb-run) and
// saves a screenshot of the whole screen after each: the list, a work with notes, the menu,
// the folder alert, the export alert, the unfiltered list, colours and chapters, the Sort menu,
// exporting all works and the message bar.
#include "notara/core/model/DataManager.h"
#include "notara/ui/ContentView.h"
#include "notara/ui/LibraryActions.h"
#include "notara/ui/QtPanelPresenter.h"
#include "notara/ui/ScanDialog.h"
#include "notara/ui/Translations.h"
#include "notara/ui/WorkDetailView.h"
#include "notara/ui/WorkListModel.h"
#include "notara/ui/tests/support/BooksLibraryBuilder.h"
#include "notara/ui/tests/support/TestEnvironment.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QListView>
#include <QMenu>
#include <QMessageBox>
#include <QPalette>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <QToolButton>
#include <iostream>

using namespace notara;

namespace {

// Real message boxes; folder and file panels answered from a queue.
class TourPresenter : public QtPanelPresenter {
public:
    QString nextFolder;
    QString nextHtmlFile;
    void presentFolderPanel(QWidget*, const QString&, const QString&, const QString&,
                            std::function<void(const PanelResult&)> done) override {
        done(PanelResult::chosen(nextFolder));
    }
    void presentHtmlFilePanel(QWidget*, const QString&, const QString&,
                              std::function<void(const PanelResult&)> done) override {
        done(nextHtmlFile.isEmpty() ? PanelResult::cancelled() : PanelResult::chosen(nextHtmlFile));
    }
};

void shoot(const QString& dir, const QString& name) {
    QTest::qWait(400);
    const QString path = dir + QLatin1Char('/') + name + QStringLiteral(".png");
    if (!QGuiApplication::primaryScreen()->grabWindow(0).save(path)) {
        std::cerr << "could not write " << path.toStdString() << std::endl;
        return;
    }
    std::cout << path.toStdString() << std::endl;
}

// Window-modal boxes are not always the active modal widget under a bare X server.
void closeDialogs() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(widget)) box->close();
    }
    QTest::qWait(100);
}

std::string passage(int i) {
    static const char* words[] = {"the", "quiet",  "river", "carried", "light",   "across",
                                  "old", "stones", "while", "memory",  "of",      "summer",
                                  "lay", "upon",   "every", "window",  "unspoken"};
    std::string text;
    for (int w = 0; w < 12 + (i * 7) % 40; ++w) {
        text += words[(i + w * 3) % 17];
        text += ' ';
    }
    text.back() = '.';
    text[0] = static_cast<char>(std::toupper(text[0]));
    return text;
}

} // namespace

int main(int argc, char** argv) {
    test::isolateUserFolders();
    NotaraApp app(argc, argv);
    // NOTARA_TOUR_DARK=1: the same tour in a dark palette, to see what stays readable.
    if (qEnvironmentVariableIsSet("NOTARA_TOUR_DARK")) {
        QApplication::setStyle(QStringLiteral("Fusion"));
        QPalette dark;
        dark.setColor(QPalette::Window, QColor(45, 45, 48));
        dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
        dark.setColor(QPalette::Base, QColor(30, 30, 32));
        dark.setColor(QPalette::AlternateBase, QColor(55, 55, 60));
        dark.setColor(QPalette::Text, QColor(230, 230, 230));
        dark.setColor(QPalette::Button, QColor(55, 55, 60));
        dark.setColor(QPalette::ButtonText, QColor(230, 230, 230));
        dark.setColor(QPalette::ToolTipBase, QColor(70, 65, 40));
        dark.setColor(QPalette::ToolTipText, QColor(240, 240, 220));
        dark.setColor(QPalette::PlaceholderText, QColor(150, 150, 150));
        dark.setColor(QPalette::Highlight, QColor(70, 120, 200));
        dark.setColor(QPalette::HighlightedText, Qt::white);
        QApplication::setPalette(dark);
    }
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QDir().mkpath(out);

    test::BooksLibraryBuilder books(test::testHome() + QStringLiteral("/BooksData"));
    std::vector<test::FixtureBook> library;
    std::vector<test::FixtureAnnotation> annotations;
    const char* titles[] = {"A Tale of Two Cities",
                            "Middlemarch",
                            "Moby-Dick; or, The Whale",
                            "Pride and Prejudice",
                            "The Brothers Karamazov",
                            "Dune",
                            "War and Peace",
                            "Ulysses",
                            "The Left Hand of Darkness",
                            "Les Misérables",
                            "Über das Marionettentheater",
                            "An Unusually Long Title That Keeps Going Well Past "
                            "The Width Of The Sidebar Column"};
    for (int i = 0; i < 12; ++i) {
        const std::string id = "ASSET-" + std::to_string(i);
        library.push_back({id, titles[i], i % 2 ? "George Eliot" : "Charles Dickens"});
        const int count = i % 4 == 3 ? 0 : (i * 5) % 23 + 1;
        for (int a = 0; a < count; ++a)
            annotations.push_back({id, passage(i * 31 + a),
                                   a % 3 == 1 ? "Compare with chapter " + std::to_string(a) +
                                                    ": the river returns as an image of time."
                                              : ""});
    }
    annotations.push_back({"ASSET-5",
                           "Fear is the mind-killer.\nFear is the little-death that brings total "
                           "obliteration.",
                           "Litany, second paragraph break kept."});
    books.writeLibrary(library);
    books.writeAnnotations(annotations);

    auto* presenter = new TourPresenter;
    // NOTARA_TOUR_LANG=de: in that language; NOTARA_TOUR_SIZE=800x500: at that window size.
    if (qEnvironmentVariableIsSet("NOTARA_TOUR_LANG"))
        Translations::install(QLocale(qEnvironmentVariable("NOTARA_TOUR_LANG")));
    ContentView window(DataManager::shared(), std::unique_ptr<PanelPresenter>(presenter));
    if (const QStringList size = qEnvironmentVariable("NOTARA_TOUR_SIZE").split(QLatin1Char('x'));
        size.size() == 2)
        window.resize(size[0].toInt(), size[1].toInt());
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return 1;
    shoot(out, QStringLiteral("1-empty"));

    presenter->nextFolder = books.folder();
    window.selectBooksFolder();
    shoot(out, QStringLiteral("2-list"));

    const int dune = [&] {
        for (int row = 0; row < window.workListModel()->rowCount(); ++row)
            if (window.workListModel()->index(row).data().toString() == QStringLiteral("Dune")) return row;
        return 0;
    }();
    window.workList()->setCurrentIndex(window.workListModel()->index(dune));
    window.detailView()->annotationList()->setCurrentIndex(
        window.detailView()->annotationList()->model()->index(1, 0));
    shoot(out, QStringLiteral("3-work-with-notes"));

    QTimer::singleShot(600, [&] {
        shoot(out, QStringLiteral("4-actions-menu"));
        window.actionsMenu()->close();
    });
    window.actionsButton()->showMenu();

    window.detailView()->exportAnnotations();
    shoot(out, QStringLiteral("5-export-alert"));
    closeDialogs();

    test::BooksLibraryBuilder onlyLibrary(test::testHome() + QStringLiteral("/OnlyLibrary"));
    onlyLibrary.writeLibrary(library);
    presenter->nextFolder = onlyLibrary.folder();
    window.selectBooksFolder();
    shoot(out, QStringLiteral("6-folder-alert"));
    closeDialogs();

    window.toggleHideNoAnnotations();
    window.workList()->setCurrentIndex(window.workListModel()->index(3));
    shoot(out, QStringLiteral("7-unfiltered-no-annotations"));

    // Each highlight in its place: the sample notebook has colours, chapters, pages and a lone note.
    window.openSampleNotebook();
    window.workList()->setCurrentIndex(window.workListModel()->index(0));
    shoot(out, QStringLiteral("8-sample-colours-chapters-places"));

    QTimer::singleShot(600, [&] {
        window.sortMenu()->popup(window.actionsMenu()->geometry().topRight());
        QTimer::singleShot(500, [&] {
            shoot(out, QStringLiteral("9-sort-menu"));
            window.sortMenu()->close();
            window.actionsMenu()->close();
        });
    });
    window.actionsButton()->showMenu();

    window.sortMenu()->actions().first()->trigger(); // Book Order
    window.toggleHideNoAnnotations();
    window.toggleHideNoAnnotations(); // the Books library again
    QObject::connect(&window, &ContentView::exportAllProgressed, &window, [&](int done) {
        if (done == 2) shoot(out, QStringLiteral("10-export-all-progress"));
    });
    const QString exportFolder = test::testHome() + QStringLiteral("/Exported");
    QDir().mkpath(exportFolder);
    window.exportAllWorksTo(exportFolder);
    shoot(out, QStringLiteral("11-export-all-alert"));
    closeDialogs();

    // A file that is not a Kindle export: the message bar says why the list is empty.
    const QString notKindle = test::testHome() + QStringLiteral("/recipes.html");
    QFile page(notKindle);
    if (page.open(QIODevice::WriteOnly)) page.write("<html><body><h1>Pancakes</h1></body></html>");
    page.close();
    presenter->nextHtmlFile = notKindle;
    window.selectKindleNotesExport();
    shoot(out, QStringLiteral("12-message-bar"));

    if (argc > 2) {
        presenter->nextHtmlFile = QString::fromLocal8Bit(argv[2]);
        window.selectKindleNotesExport();
        shoot(out, QStringLiteral("13-kindle-imported"));
        window.workList()->setCurrentIndex(window.workListModel()->index(0));
        shoot(out, QStringLiteral("14-kindle-work"));
    }

    // The reader's library: every kept work with its sources, a sync's message, the scan dialog.
    QTest::qWait(800); // the imports above are kept on a thread of their own
    window.library()->showAllHighlights();
    shoot(out, QStringLiteral("16-all-highlights"));
    QSettings().setValue(LibraryActions::kSyncFolderKey, test::testHome() + QStringLiteral("/Notes"));
    window.library()->syncToFolder();
    QTest::qWait(1500);
    shoot(out, QStringLiteral("17-synced"));
    const QString koreader =
        test::testHome() + QStringLiteral("/scan/.config/koreader/docsettings/b/One.sdr");
    QDir().mkpath(koreader);
    QFile sidecar(koreader + QStringLiteral("/metadata.epub.lua"));
    if (sidecar.open(QIODevice::WriteOnly))
        sidecar.write(
            "return {[\"annotations\"] = {{[\"datetime\"] = \"2025-01-01 00:00:00\", [\"drawer\"] = "
            "\"lighten\", [\"text\"] = \"A river.\"}}, [\"doc_props\"] = {[\"title\"] = \"One\"}}");
    sidecar.close();
    const std::filesystem::path scanHome = (test::testHome() + QStringLiteral("/scan")).toStdString();
    window.setScanPlaces({scanHome, scanHome / ".config", scanHome / ".local/share", {}});
    window.findHighlights();
    shoot(out, QStringLiteral("18-scan-dialog"));
    if (window.scanDialog()) window.scanDialog()->reject();

    // The real folder panel, with its message.
    QtPanelPresenter real;
    real.presentFolderPanel(&window, QStringLiteral("Select Books Folder"),
                            QStringLiteral("Select the \"Documents\" directory for the Books App. This "
                                           "directory is usually found at: "
                                           "~/Library/Containers/com.apple.iBooksX/Data/"),
                            QDir::homePath(), [](const PanelResult&) {});
    shoot(out, QStringLiteral("15-folder-panel"));
    if (auto* panel = QApplication::activeModalWidget()) panel->close();
    return 0;
}
