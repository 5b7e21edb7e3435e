// The Linux readers in the real window: the three folder entries and "Find Highlights on This
// Computer…" with a fake home folder.
#include "notara/core/sources/SourceKind.h"
#include "notara/ui/LibraryActions.h"
#include "notara/ui/MessageBar.h"
#include "notara/ui/ScanDialog.h"
#include "notara/ui/WorkDetailView.h"
#include "notara/ui/tests/support/TestEnvironment.h"
#include "notara/ui/tests/support/UrlRecorder.h"
#include "notara/ui/tests/support/WindowFixture.h"

#include <QAction>
#include <QDesktopServices>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <sqlite3.h>

using namespace notara;
using namespace notara::test;

namespace {

std::filesystem::path write(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

std::string sidecar(const std::string& title, const std::string& text) {
    return "return {[\"annotations\"] = {{[\"datetime\"] = \"2025-01-01 00:00:00\", [\"drawer\"] = "
           "\"lighten\", "
           "[\"pos0\"] = \"/body/DocFragment[2]/p[1]/text().0\", [\"text\"] = \"" +
           text + "\"}}, [\"doc_props\"] = {[\"title\"] = \"" + title + "\"}}";
}

QString qPath(const std::filesystem::path& path) {
    return QString::fromStdString(path.native());
}

} // namespace

class LinuxReadersWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() { resetUserState(); }

    void eachReaderHasAnEntryThatListsItsFolder() {
        WindowFixture fixture;
        QVERIFY(fixture.open());
        ContentView& window = fixture.window();
        const std::filesystem::path home = testHome().toStdString();
        write(home / "Books/Salt Roads.sdr/metadata.epub.lua", sidecar("Salt Roads", "A river."));
        write(
            home / "foliate/x.json",
            R"js({"annotations": [{"value": "epubcfi(/6/2!/4/2,/1:0,/1:3)", "text": "Foliate passage", "note": ""}],
                   "metadata": {"title": "The Ferry"}})js");
        write(home / "calibre/viewer/annots/ab.json",
              R"js([{"type": "highlight", "uuid": "v1", "highlighted_text": "Viewer", "spine_index": 0}])js");

        const std::pair<SourceKind, std::filesystem::path> cases[] = {
            {SourceKind::Koreader, home / "Books"},
            {SourceKind::Foliate, home / "foliate"},
            {SourceKind::Calibre, home / "calibre"}};
        const QStringList titles[] = {{"Salt Roads"}, {"The Ferry"}, {"Book ab"}};
        for (int i = 0; i < 3; ++i) {
            fixture.presenter().folderAnswers.push_back(PanelResult::chosen(qPath(cases[i].second)));
            window.selectReaderAction(cases[i].first)->trigger();
            QCOMPARE(fixture.rowTitles(), titles[i]);
            QTRY_VERIFY(!window.library()->adding());
        }
        QVERIFY(fixture.presenter().folderMessage.contains(QStringLiteral("calibre library")));
        // A folder that holds nothing of the reader's says so and keeps the list.
        fixture.presenter().folderAnswers.push_back(PanelResult::chosen(qPath(home / "calibre")));
        window.selectReaderAction(SourceKind::Koreader)->trigger();
        QCOMPARE(fixture.rowTitles(), titles[2]);
        QVERIFY(window.messageBar()->text().contains(QStringLiteral("could not be imported")));
    }

    void theScanOffersWhatItFoundAndImportsWhatIsTicked() {
        WindowFixture fixture;
        QVERIFY(fixture.open());
        ContentView& window = fixture.window();
        const std::filesystem::path home = std::filesystem::path(testHome().toStdString()) / "scan";
        write(home / ".config/koreader/docsettings/b/One.sdr/metadata.epub.lua", sidecar("One", "First."));
        write(home / ".local/share/com.github.johnfactotum.Foliate/y.json",
              R"js({"annotations": [{"value": "epubcfi(/6/2!/4/2,/1:0,/1:3)", "text": "Second.", "note": ""}],
                   "metadata": {"title": "Two"}})js");
        window.setScanPlaces({home, home / ".config", home / ".local/share", {}});
        window.findHighlightsAction()->trigger();
        ScanDialog* dialog = window.scanDialog();
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->list()->count(), 2);
        QVERIFY(dialog->list()->item(0)->text().startsWith(QStringLiteral("KOReader \u2014 ")));
        QVERIFY(dialog->list()->item(0)->text().endsWith(QStringLiteral("1 book, 1 highlight")));
        dialog->list()->item(1)->setCheckState(Qt::Unchecked);
        dialog->importButton()->click();
        QTRY_COMPARE(fixture.rowTitles(), (QStringList{"One"}));
        QCOMPARE(window.messageBar()->text(), QStringLiteral("1 book, 1 highlight found on this computer"));
        QCOMPARE(window.listTitle()->text(), QStringLiteral("Found on This Computer"));
        QTRY_VERIFY(!window.library()->adding());

        // Nothing found: the dialog says so and offers no import.
        window.setScanPlaces({home / "nothing", home / "nothing", home / "nothing", {}});
        window.findHighlightsAction()->trigger();
        QVERIFY(!window.scanDialog()->importButton()->isEnabled());
        window.scanDialog()->reject();
        QCOMPARE(fixture.rowTitles(), (QStringList{"One"}));
    }

    void openInReaderOpensTheBookWhereTheSourceNamesIt() {
        WindowFixture fixture;
        QVERIFY(fixture.open());
        ContentView& window = fixture.window();
        const std::filesystem::path home = std::filesystem::path(testHome().toStdString()) / "open";
        write(home / "Books/Salt Roads.sdr/metadata.epub.lua", sidecar("Salt Roads", "A river."));
        write(home / "Books/Salt Roads.epub", "PK");
        write(home / "Books/Gone.sdr/metadata.epub.lua", sidecar("Gone", "No book beside it."));
        UrlRecorder desktop;
        fixture.presenter().folderAnswers.push_back(PanelResult::chosen(qPath(home / "Books")));
        window.selectReaderAction(SourceKind::Koreader)->trigger();
        QCOMPARE(fixture.rowTitles(), (QStringList{"Gone", "Salt Roads"}));
        const auto entries = [&] {
            QStringList texts;
            const auto menu = window.detailView()->contextMenuForRow(0);
            for (QAction* action : menu->actions())
                texts << action->text();
            return texts;
        };
        fixture.selectRow(0);
        QVERIFY(!entries().contains(QStringLiteral("Open in Reader"))); // no book to open
        fixture.selectRow(1);
        QVERIFY(entries().contains(QStringLiteral("Open in Reader")));
        window.detailView()->openInReader(0);
        QCOMPARE(desktop.opened, (QList<QUrl>{QUrl::fromLocalFile(qPath(home / "Books/Salt Roads.epub"))}));

        // A calibre library book opens in calibre's viewer at the highlight, when calibre is there.
        const std::filesystem::path library = home / "Calibre Library";
        write(library / "Ada Okafor/The Ferry (1)/The Ferry - Ada Okafor.epub", "PK");
        sqlite3* db = nullptr;
        QCOMPARE(sqlite3_open((library / "metadata.db").c_str(), &db), SQLITE_OK);
        sqlite3_exec(
            db,
            "CREATE TABLE books (id INTEGER PRIMARY KEY, title TEXT, path TEXT, uuid TEXT);"
            "CREATE TABLE authors (id INTEGER PRIMARY KEY, name TEXT);"
            "CREATE TABLE books_authors_link (id INTEGER PRIMARY KEY, book INTEGER, author INTEGER);"
            "CREATE TABLE data (id INTEGER PRIMARY KEY, book INTEGER, format TEXT, uncompressed_size INTEGER,"
            " name TEXT);"
            "CREATE TABLE annotations (id INTEGER PRIMARY KEY, book INTEGER, format TEXT, user_type TEXT,"
            " user TEXT, timestamp REAL, annot_id TEXT, annot_type TEXT, annot_data TEXT);"
            "INSERT INTO books VALUES (1, 'The Ferry', 'Ada Okafor/The Ferry (1)', 'u1');"
            "INSERT INTO data VALUES (1, 1, 'EPUB', 2, 'The Ferry - Ada Okafor');"
            "INSERT INTO annotations VALUES (1, 1, 'EPUB', 'local', 'viewer', 1, 'h1', 'highlight',"
            " '{\"type\": \"highlight\", \"uuid\": \"h1\", \"highlighted_text\": \"Ferry\","
            " \"spine_index\": 2, \"start_cfi\": \"/2/4/1:0\"}');",
            nullptr, nullptr, nullptr);
        sqlite3_close(db);
        UrlRecorder viewer;
        QDesktopServices::setUrlHandler(QStringLiteral("calibre"), &viewer, "open");
        window.detailView()->setReaderAvailable([](const QString& scheme) { return scheme == "calibre"; });
        fixture.presenter().folderAnswers.push_back(PanelResult::chosen(qPath(library)));
        window.selectReaderAction(SourceKind::Calibre)->trigger();
        fixture.selectRow(0);
        window.detailView()->openInReader(0);
        QDesktopServices::unsetUrlHandler(QStringLiteral("calibre"));
        QCOMPARE(viewer.opened.size(), 1);
        QCOMPARE(viewer.opened[0].toString(QUrl::FullyEncoded),
                 QStringLiteral("calibre://view-book/_hex_-") +
                     QString::fromLatin1(QByteArray("Calibre Library").toHex()) +
                     QStringLiteral("/1/EPUB?open_at=epubcfi%28%2F6%2F6%21%2F4%2F1%3A0%29"));
        // Without calibre: the book's file with the desktop's program.
        window.detailView()->setReaderAvailable([](const QString&) { return false; });
        window.detailView()->openInReader(0);
        QCOMPARE(
            viewer.opened.last(), // the newest recorder stands in for the desktop's file handler too
            QUrl::fromLocalFile(qPath(library / "Ada Okafor/The Ferry (1)/The Ferry - Ada Okafor.epub")));
    }
};

NOTARA_UI_TEST_MAIN(LinuxReadersWindowTest)
#include "LinuxReadersWindowTest.moc"
