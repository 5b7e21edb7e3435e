#include "notara/core/export/MarkdownExport.h"
#include "notara/tests/TestSupport.h"

#include "corvane/Corvane.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSettings>

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using namespace notara::test;

namespace {

// A Books data folder as a Mac holds it: both stores with their -wal and -shm beside them
// (recent highlights only in the logs), another store, and a file that only looks like one.
class NotaraCli : public ::testing::Test {
protected:
    void SetUp() override {
        LibraryContent content;
        content.books = {{"1451477922", "Dup", "Orlin, Ben"},
                         {"AFD7FD1805E4A50A67FDB24A0A7C5F39", "Either/Or", "K\tS"},
                         {"8E6660FFF4EB8789B4BDF5FAD625CCFC", "Dup", "Second"},
                         {"NOHIGHLIGHTS", "Unread", "Nobody"}};
        content.annotations = {highlight("1451477922", "first \"dup\"", "note\nline")};
        LibraryContent recent;
        recent.books = {{"RECENT", "Either-Or", "Recent"}};
        recent.annotations = {highlight("8E6660FFF4EB8789B4BDF5FAD625CCFC", "second dup"),
                              highlight("AFD7FD1805E4A50A67FDB24A0A7C5F39", "l1\nl2"),
                              highlight("RECENT", "recent")};
        writeBooksFolder(folder, content, recent);
        std::ofstream(folder.libraryFile.parent_path() / "Old.SQLITE") << "not a database";
        BooksStore(folder.root / "Documents/BCRecentlyOpenedBooksDB/BCRecentlyOpenedBooksDB.sqlite",
                   BooksStore::Kind::Library);
        before = snapshot(folder.root);
        ASSERT_TRUE(before.contains(folder.annotationFile.native() + "-wal"));
        ASSERT_TRUE(before.contains(folder.libraryFile.native() + "-shm"));
    }
    void TearDown() override { EXPECT_EQ(snapshot(folder.root), before) << "the Books folder was changed"; }

    BooksDataFolder folder{freshFolder("Library/Containers/com.apple.iBooksX/Data")};
    std::map<std::string, std::string> before;
    QString books() const { return QString::fromStdString(folder.root.native()); }
};

} // namespace

TEST_F(NotaraCli, ListsWorksAsTextAndJson) {
    CliRun run = cli({"list", "--books", books()});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "Dup\tOrlin, Ben\t1\nDup\tSecond\t1\nEither-Or\tRecent\t1\nEither/Or\tK S\t1\n");

    run = cli({"list", "--all", "--books=" + books()});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("Unread\tNobody\t0\n"), std::string::npos) << run.out;

    run = cli({"list", "--books", books(), "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    QJsonParseError error;
    const QJsonArray works = QJsonDocument::fromJson(QByteArray::fromStdString(run.out), &error).array();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << run.out;
    ASSERT_EQ(works.size(), 4);
    const QJsonObject dup = works[0].toObject();
    EXPECT_EQ(dup["workID"].toString(), "1451477922");
    EXPECT_EQ(dup["workTitle"].toString(), "Dup");
    EXPECT_EQ(dup["workAuthor"].toString(), "Orlin, Ben");
    EXPECT_EQ(dup["downloadedStatus"].toString(), "");
    EXPECT_EQ(dup["id"].toString().size(), 36);
    const QJsonObject annotation = dup["annotations"].toArray()[0].toObject();
    EXPECT_EQ(annotation["annotationSelectedText"].toString(), "first \"dup\"");
    EXPECT_EQ(annotation["annotationUserNotes"].toString(), "note\nline");
    EXPECT_EQ(annotation["annotationID"].toString(), "UUID-first \"dup\"");
    EXPECT_TRUE(annotation.contains("annotationRepText"));
    EXPECT_TRUE(annotation["annotationLocationRawText"].toString().startsWith("epubcfi("));
}

TEST_F(NotaraCli, ExportNeverOverwritesItsOwnFiles) {
    const fs::path out = freshFolder("export");
    const std::string date = corvane::Corvane::dateNow();
    // A folder where one export file should go makes that one write fail.
    fs::create_directories(out / (date + "-Either-Or (2)-Annotations.md"));

    CliRun run = cli({"export", "--books", books(), "--out", QString::fromStdString(out.native())});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("Either-Or (2)-Annotations.md"), std::string::npos) << run.err;
    const std::string expected = (out / (date + "-Dup-Annotations.md")).native() + "\n" +
                                 (out / (date + "-Dup (2)-Annotations.md")).native() + "\n" +
                                 (out / (date + "-Either-Or-Annotations.md")).native() + "\n";
    EXPECT_EQ(run.out, expected);
    EXPECT_EQ(readFile(out / (date + "-Dup-Annotations.md")),
              "# Dup\n**Author**: Orlin, Ben\n\n> first \"dup\"\n\nnote\nline\n\n---\n");
    EXPECT_EQ(readFile(out / (date + "-Dup (2)-Annotations.md")),
              "# Dup\n**Author**: Second\n\n> second dup\n---\n");

    fs::remove(out / (date + "-Either-Or (2)-Annotations.md"));
    run = cli({"export", "--books", books(), "--title", "Either/Or"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    const fs::path downloads = fs::path(std::getenv("HOME")) / "Downloads";
    EXPECT_EQ(run.out, (downloads / (date + "-Either-Or-Annotations.md")).native() + "\n");
    EXPECT_EQ(readFile(downloads / (date + "-Either-Or-Annotations.md")),
              "# Either/Or\n**Author**: K\tS\n\n> l1\n>l2\n---\n");
}

TEST_F(NotaraCli, ReportsProblemsWithExitStatus) {
    const fs::path empty = freshFolder("empty");
    CliRun run = cli({"list", "--books", QString::fromStdString(empty.native())});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "Unable to find Annotation Database!\nUnable to find Library Database!\n");
    EXPECT_EQ(run.out, "");

    run = cli({"export", "--books", books(), "--title", "No such book"});
    EXPECT_EQ(run.exitCode, 1);

    for (const QStringList& bad :
         {QStringList{}, QStringList{"list"}, QStringList{"list", "--books"},
          QStringList{"show", "--books", "x"}, QStringList{"list", "--books", "x", "--out", "y"},
          QStringList{"export", "--books", "x", "--json"}}) {
        run = cli(bad);
        EXPECT_EQ(run.exitCode, 2) << bad.join(' ').toStdString();
        EXPECT_NE(run.err.find("Usage: notara-cli"), std::string::npos);
    }

    run = cli({"--help"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.starts_with("Usage: notara-cli"));
    run = cli({"--version"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.starts_with("notara-cli "));
}

TEST_F(NotaraCli, LeavesTheApplicationsSettingsAndCopiesAlone) {
    QSettings settings("Notara", "Notara");
    settings.setValue("Books Library", QByteArray("app bookmark"));
    settings.sync();
    const fs::path appData = fs::path(std::getenv("XDG_DATA_HOME")) / "Notara/Notara";
    fs::create_directories(appData);
    std::ofstream(appData / "AEAnnotation_v10312011_1727_local.sqlite") << "the app's working copy";
    const auto settingsBefore = readFile(settings.fileName().toStdString());

    EXPECT_EQ(cli({"list", "--books", books()}).exitCode, 0);
    EXPECT_EQ(readFile(settings.fileName().toStdString()), settingsBefore);
    EXPECT_EQ(readFile(appData / "AEAnnotation_v10312011_1727_local.sqlite"), "the app's working copy");
    fs::remove_all(appData);
    fs::remove(settings.fileName().toStdString());
}
