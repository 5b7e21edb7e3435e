#include "notara/tests/TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using namespace notara::test;

namespace {

QString sample(const char* name) {
    return QString::fromStdString(kindleSample(name).native());
}

} // namespace

TEST(KindleCommands, ListsTheNotebookAsTextAndJson) {
    CliRun text = cli({"list", "--kindle", sample("desktop-crossed-tags.html")});
    EXPECT_EQ(text.exitCode, 0) << text.err;
    EXPECT_EQ(text.out, "The Cartographer\u2019s Quiet Year\tOkonkwo-Lind, Therese\t5\n");

    CliRun json = cli({"list", "--kindle", sample("mobile-notebook-for-de.html"), "--json"});
    EXPECT_EQ(json.exitCode, 0) << json.err;
    QJsonParseError error;
    QJsonArray works = QJsonDocument::fromJson(QByteArray::fromStdString(json.out), &error).array();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << json.out;
    ASSERT_EQ(works.size(), 1);
    QJsonObject work = works[0].toObject();
    EXPECT_EQ(work["workTitle"].toString(), QStringLiteral("Die Uhrmacherin von Lindau"));
    EXPECT_EQ(work["workID"].toString(), QString());
    QJsonArray annotations = work["annotations"].toArray();
    ASSERT_EQ(annotations.size(), 3);
    QJsonObject second = annotations[1].toObject();
    EXPECT_EQ(second["annotationSelectedText"].toString(),
              QStringLiteral("Die Zeit geht nicht, sie wird gemessen – und dabei verändert."));
    EXPECT_EQ(second["annotationUserNotes"].toString(),
              QStringLiteral("Schöner Satz für den Vortrag über Zeitmessung."));
    EXPECT_EQ(second["annotationID"].toString().size(), 36);
}

TEST(KindleCommands, ExportsTheNotebookAsMarkdown) {
    fs::path out = freshFolder("export");
    CliRun run = cli({"export", "--kindle", sample("mobile-notebook-export-ja.html"), "--out",
                      QString::fromStdString(out.native())});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ASSERT_TRUE(run.out.ends_with("-雨の日の猫たち-Annotations.md\n")) << run.out;
    fs::path written = run.out.substr(0, run.out.size() - 1);
    EXPECT_EQ(written.parent_path(), out);
    EXPECT_EQ(readFile(written), "# 雨の日の猫たち\n**Author**: 高橋 みのり\n\n"
                                 "> 猫は窓辺で雨の音を数えていた。\n\n冒頭の一文。好き。\n\n---\n"
                                 "この部分は出版社の制限で表示されない。\n\n---\n"
                                 "> 矢印 -> は「次へ」という意味だ、と彼は言った。\n---\n");
}

TEST(KindleCommands, FailuresAndMisuse) {
    fs::path folder = freshFolder("failures");
    std::ofstream(folder / "untitled.html") << "<div class=noteText>no title</div>";
    std::ofstream(folder / "empty-notebook.html") << "<div class=bookTitle>Unread</div>";
    QString untitled = QString::fromStdString((folder / "untitled.html").native());
    QString missing = QString::fromStdString((folder / "missing.html").native());
    QString empty = QString::fromStdString((folder / "empty-notebook.html").native());

    for (const QStringList& arguments :
         {QStringList{"list", "--kindle", untitled}, QStringList{"list", "--kindle", missing, "--json"},
          QStringList{"export", "--kindle", empty, "--out", QString::fromStdString(folder.native())}}) {
        CliRun run = cli(arguments);
        EXPECT_EQ(run.exitCode, 1) << arguments.join(' ').toStdString();
        EXPECT_EQ(run.out, "") << "standard output carries data only";
        EXPECT_FALSE(run.err.empty());
    }
    EXPECT_EQ(cli({"list", "--kindle", empty}).out, "Unread\tNo Author Found\t0\n");

    for (const QStringList& arguments :
         {QStringList{"list", "--kindle", empty, "--books", "/tmp"},
          QStringList{"list", "--kindle", empty, "--all"},
          QStringList{"export", "--kindle", empty, "--title", "Unread"}, QStringList{"list", "--kindle"}}) {
        EXPECT_EQ(cli(arguments).exitCode, 2) << arguments.join(' ').toStdString();
    }
}
