// Each highlight in its place on the real window: colours, place lines and chapter rows, the
// Sort menu, Copy as Citation, Export All Works and the cards' measured heights.
#include "notara/core/model/Work.h"
#include "notara/tests/BooksStore.h"
#include "notara/ui/AnnotationCardDelegate.h"
#include "notara/ui/AnnotationListModel.h"
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
#include <QListView>
#include <QMenu>
#include <QProgressDialog>
#include <QSettings>
#include <QTest>
#include <QUrl>

#include <filesystem>

using namespace notara;
using namespace notara::test;

namespace fs = std::filesystem;

namespace {

// A Books folder in the real layout: "Places" with three highlights in two chapters, stored in
// an order that is neither book order nor date order, and two more works.
QString writePlacesLibrary(const QString& name) {
    const BooksDataFolder folder(fs::path(testHome().toStdString()) / name.toStdString());
    fs::remove_all(folder.root);
    BooksStore library(folder.libraryFile, BooksStore::Kind::Library);
    BooksStore annotations(folder.annotationFile, BooksStore::Kind::Annotations);
    library.addBook({"P1", "Places", "Writer"});
    library.addBook({"S1", "Same", "First"});
    library.addBook({"S2", "Same", "Second"});
    auto row = [](const char* asset, const char* text, const char* chapter, const char* cfi, double created,
                  int style) {
        AnnotationRow r;
        r.assetID = asset;
        r.selectedText = text;
        r.uuid = std::string("U-") + text;
        r.chapter = chapter;
        r.location = cfi;
        r.created = created;
        r.style = style;
        return r;
    };
    annotations.addAnnotation(row("P1", "late in two", "Two", "epubcfi(/6/8!/4/2/10:0)", 300, 2));
    annotations.addAnnotation(row("P1", "early in one", "One", "epubcfi(/6/4!/4/2:0)", 200, 3));
    annotations.addAnnotation(row("P1", "early in two", "Two", "epubcfi(/6/8!/4/2/2:0)", 100, 4));
    annotations.addAnnotation(row("S1", "same one", "", "epubcfi(/6/4!/4:0)", 1, 0));
    annotations.addAnnotation(row("S2", "same two", "", "epubcfi(/6/4!/4:0)", 1, 0));
    library.close();
    annotations.close();
    return QString::fromStdString(folder.root.native());
}

QStringList shownRows(WorkDetailView& detail) {
    QStringList rows;
    QAbstractItemModel* model = detail.annotationList()->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        const QModelIndex index = model->index(row, 0);
        rows << (index.data(AnnotationListModel::IsChapterRole).toBool() ? "# " : "") +
                    index.data().toString();
    }
    return rows;
}

} // namespace

class PlacesTest : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowFixture> fixture;
    WorkDetailView& detail() { return *fixture->window().detailView(); }

private slots:
    void init() {
        resetUserState();
        fixture = std::make_unique<WindowFixture>();
        QVERIFY(fixture->open());
        fixture->chooseBooksFolder(writePlacesLibrary("Data"));
        QCOMPARE(fixture->rowTitles(), (QStringList{"Places", "Same", "Same"}));
    }
    void cleanup() { fixture.reset(); }

    void cardsCarryColourPlaceAndChapterRows() {
        fixture->selectRow(fixture->rowOf("Places"));
        QCOMPARE(shownRows(detail()),
                 (QStringList{"# Two", "late in two", "# One", "early in one", "# Two", "early in two"}));
        const QModelIndex card = detail().annotationList()->model()->index(1, 0);
        QCOMPARE(card.data(AnnotationListModel::ColorRole).toString(), QStringLiteral("blue"));
        const QString date =
            QLocale().toString(QDateTime::fromSecsSinceEpoch(978307200 + 300, Qt::UTC).toLocalTime().date(),
                               QLocale::ShortFormat);
        // The chapter row above says where it is; the place line does not say it again.
        QCOMPARE(card.data(AnnotationListModel::PlaceLineRole).toString(), date);
        QVERIFY(!(detail().annotationList()->model()->index(0, 0).flags() & Qt::ItemIsSelectable));

        // A Kindle work: page and location.
        const QString path = testHome() + QStringLiteral("/kindle.html");
        QFile page(path);
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.write("<div class=\"bookTitle\">K</div><div class=\"noteHeading\">Highlight (<span "
                   "class=\"highlight_pink\">pink</span>) - Page 7 \xC2\xB7 Location 160</div><div "
                   "class=\"noteText\">"
                   "<b>not bold</b></div><div class=\"noteHeading\">Bookmark - Location 170</div>"
                   "<div class=\"noteHeading\">Note - Location 171</div><div class=\"noteText\">alone</div>");
        page.close();
        fixture->presenter().htmlFileAnswers.push_back(PanelResult::chosen(path));
        fixture->window().selectKindleAction()->trigger();
        fixture->selectRow(0);
        const QModelIndex kindle = detail().annotationList()->model()->index(0, 0);
        QCOMPARE(kindle.data().toString(), QStringLiteral("not bold"));
        QCOMPARE(kindle.data(AnnotationListModel::ColorRole).toString(), QStringLiteral("pink"));
        QCOMPARE(kindle.data(AnnotationListModel::PlaceLineRole).toString(),
                 QStringLiteral("Page 7 \u00B7 Location 160"));
        const QModelIndex lone = detail().annotationList()->model()->index(1, 0);
        QVERIFY(lone.data(AnnotationListModel::IsLoneNoteRole).toBool());
        QVERIFY(detail().cardDelegate()->sizeHint({}, lone).height() > 0);
    }

    void eachSortOrderIsShownAndRemembered() {
        fixture->selectRow(fixture->rowOf("Places"));
        QMenu& sort = *fixture->window().sortMenu();
        QStringList labels;
        for (QAction* action : sort.actions())
            labels << action->text() + (action->isChecked() ? "*" : "");
        QCOMPARE(labels, (QStringList{"Book Order", "Date Highlighted", "As Stored*"}));

        sort.actions()[0]->trigger();
        QCOMPARE(shownRows(detail()),
                 (QStringList{"# One", "early in one", "# Two", "early in two", "late in two"}));
        sort.actions()[1]->trigger();
        QCOMPARE(shownRows(detail()),
                 (QStringList{"# Two", "early in two", "# One", "early in one", "# Two", "late in two"}));
        sort.actions()[0]->trigger();
        QVERIFY(sort.actions()[0]->isChecked() && !sort.actions()[2]->isChecked());

        // The export follows the order shown.
        detail().exportAction()->trigger();
        fixture->presenter().dismissAlert();
        QFile written(QDir::homePath() + "/Downloads/" + QString::fromStdString(corvane::Corvane::dateNow()) +
                      "-Places-Annotations.md");
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QByteArray text = written.readAll();
        QVERIFY(text.indexOf("early in one") < text.indexOf("early in two"));
        QVERIFY(text.indexOf("early in two") < text.indexOf("late in two"));

        // A new window starts with the order chosen last.
        fixture.reset();
        fixture = std::make_unique<WindowFixture>();
        QVERIFY(fixture->open());
        QCOMPARE(fixture->window().annotationOrder(), AnnotationOrder::Order::Book);
        QVERIFY(fixture->window().sortMenu()->actions()[0]->isChecked());
    }

    void copyAsCitationQuotesThePassageWithItsSource() {
        fixture->selectRow(fixture->rowOf("Places"));
        std::unique_ptr<QMenu> menu = detail().contextMenuForRow(1);
        QCOMPARE(menu->actions().last()->text(), QStringLiteral("Copy as Citation"));
        menu->actions().last()->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 QStringLiteral("\u201Clate in two\u201D\n\u2014 Places, Writer, Two"));
        menu = detail().contextMenuForRow(1);
        menu->actions().first()->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("late in two"));
    }

    void exportAllWritesOneFilePerWorkAndSaysWhere() {
        const QString out = testHome() + QStringLiteral("/All");
        QVERIFY(QDir().mkpath(out));
        fixture->presenter().folderAnswers.push_back(PanelResult::chosen(out));
        UrlRecorder recorder;
        fixture->window().exportAllAction()->trigger();

        const QString date = QString::fromStdString(corvane::Corvane::dateNow());
        QCOMPARE(QDir(out).entryList(QDir::Files, QDir::Name),
                 (QStringList{date + "-Places-Annotations.md", date + "-Same (2)-Annotations.md",
                              date + "-Same-Annotations.md"}));
        ScriptedPresenter& presenter = fixture->presenter();
        QCOMPARE(presenter.alertMessage, QStringLiteral("3 Markdown files written to ~/All"));
        QCOMPARE(presenter.alertActionText, QStringLiteral("Show in Folder"));
        presenter.pressAlertAction();
        QCOMPARE(recorder.opened, QList<QUrl>{QUrl::fromLocalFile(out)});
    }

    void cancellingAnExportAllLeavesOnlyCompleteFiles() {
        const QString out = testHome() + QStringLiteral("/Cancelled");
        QVERIFY(QDir().mkpath(out));
        connect(&fixture->window(), &ContentView::exportAllProgressed, this, [this](int done) {
            if (done == 1) fixture->window().exportProgress()->cancel();
        });
        fixture->window().exportAllWorksTo(out);
        const QStringList files = QDir(out).entryList(QDir::Files | QDir::Hidden);
        QCOMPARE(files.size(), 1);
        QFile file(out + '/' + files.first());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().endsWith("---\n"));
        QVERIFY(fixture->presenter().alertMessage.contains(QStringLiteral("(cancelled after 1 of 3)")));
        QVERIFY(!fixture->window().exportProgress());
    }

    void cardHeightsAreMeasuredAgainForAnotherWorkOfTheSameSize() {
        // Two works of one annotation each: a short passage, then a long one.
        const QString path = testHome() + QStringLiteral("/long.html");
        QFile page(path);
        QVERIFY(page.open(QIODevice::WriteOnly));
        page.write(
            "<div class=\"bookTitle\">Long</div><div class=\"noteHeading\">Highlight - Location 1</div><div "
            "class=\"noteText\">");
        for (int i = 0; i < 200; ++i)
            page.write("a long passage that wraps over many lines ");
        page.write("</div>");
        page.close();

        fixture->selectRow(fixture->rowOf("Same"));
        QListView& list = *detail().annotationList();
        QTest::qWait(20);
        const int shortHeight = detail().cardDelegate()->sizeHint({}, list.model()->index(0, 0)).height();

        fixture->presenter().htmlFileAnswers.push_back(PanelResult::chosen(path));
        fixture->window().selectKindleAction()->trigger();
        fixture->selectRow(0);
        QCOMPARE(list.model()->rowCount(), 1);
        const int longHeight = detail().cardDelegate()->sizeHint({}, list.model()->index(0, 0)).height();
        QVERIFY2(longHeight > 3 * shortHeight,
                 qPrintable(QString("%1 vs %2").arg(longHeight).arg(shortHeight)));
    }
};

NOTARA_UI_TEST_MAIN(PlacesTest)
#include "PlacesTest.moc"
