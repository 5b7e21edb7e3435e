// The Kindle import flow of the real window: the imported work replaces the list until the
// next filter change, and the detail column empties.
#include "notara/core/model/Annotation.h"
#include "notara/core/model/Work.h"
#include "notara/ui/WorkDetailView.h"
#include "notara/ui/tests/support/TestEnvironment.h"
#include "notara/ui/tests/support/WindowFixture.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QListView>
#include <QTest>

using namespace notara;
using namespace notara::test;

namespace {

QString writeExport(const QString& name, const QByteArray& entries) {
    const QString path = QDir::homePath() + QStringLiteral("/Downloads/") + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return {};
    file.write("<html><head><meta charset=\"UTF-8\"></head><body><div class=\"bodyContainer\">\n"
               "<div class=\"notebookFor\">Notebook for</div>\n"
               "<div class=\"bookTitle\">Kindle Book &amp; Co</div>\n"
               "<div class=\"authors\">Kin Author</div>\n"
               "<div class=\"sectionHeading\">Chapter 1</div>\n");
    file.write(entries);
    file.write("</div></body></html>\n");
    return path;
}

const QByteArray kHighlightWithNote = "<div class=\"noteHeading\">Highlight (<span "
                                      "class=\"highlight_yellow\">yellow</span>) - Location 10</div>\n"
                                      "<div class=\"noteText\">A Kindle passage.</div>\n"
                                      "<div class=\"noteHeading\">Note - Location 10</div>\n"
                                      "<div class=\"noteText\">A Kindle note.</div>\n";

} // namespace

class KindleImportTest : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowFixture> fixture;

    void importFile(const QString& path) {
        fixture->presenter().htmlFileAnswers.push_back(PanelResult::chosen(path));
        fixture->window().selectKindleAction()->trigger();
    }

private slots:
    void init() {
        resetUserState();
        fixture = std::make_unique<WindowFixture>();
        QVERIFY(fixture->open());
        fixture->chooseBooksFolder(
            fixture->writeBooksFolder("Data", sampleBooks(), sampleAnnotations()).folder());
    }
    void cleanup() { fixture.reset(); }

    void importReplacesTheListUntilTheFilterChanges() {
        ContentView& window = fixture->window();
        fixture->selectRow(fixture->rowOf("a"));
        const std::optional<QUuid> selectedID = window.selectedWorkID();
        QVERIFY(window.selectedWork());

        importFile(writeExport(QStringLiteral("notebook.html"), kHighlightWithNote));
        QCOMPARE(fixture->presenter().htmlFileStart, QDir::homePath() + QStringLiteral("/Downloads"));
        QVERIFY(!window.selectKindlePresenting());
        QCOMPARE(fixture->rowTitles(), QStringList{QStringLiteral("Kindle Book & Co")});
        QCOMPARE(fixture->rowCountLines(), QStringList{QStringLiteral("Total Annotations: 1")});
        QVERIFY(!window.selectedWork());
        QVERIFY(!window.detailView()->selectedWork());
        QCOMPARE(window.windowTitle(), QStringLiteral("Notara"));
        QCOMPARE(window.selectedWorkID(), selectedID);
        QCOMPARE(fixture->dataManager().works().size(), std::size_t(3));

        // Clicking the imported row shows its passage and note.
        fixture->selectRow(0);
        QCOMPARE(window.windowTitle(), QStringLiteral("Kindle Book & Co"));
        const std::shared_ptr<Work> kindle = window.selectedWork();
        QCOMPARE(kindle->annotations.size(), std::size_t(1));
        QCOMPARE(kindle->annotations[0]->annotationSelectedText, std::string("A Kindle passage."));
        QCOMPARE(kindle->annotations[0]->annotationUserNotes, std::string("A Kindle note."));
        // The card under the row of its chapter.
        QCOMPARE(window.detailView()->annotationList()->model()->rowCount(), 2);
        QCOMPARE(window.detailView()->annotationList()->model()->index(0, 0).data().toString(),
                 QStringLiteral("Chapter 1"));

        window.hideNoAnnotationsAction()->trigger();
        QCOMPARE(fixture->rowTitles(), (QStringList{"B", "a", "b"}));
        window.hideNoAnnotationsAction()->trigger();
        QCOMPARE(fixture->rowTitles(), (QStringList{"a", "b"}));
    }

    void aRowStillMarkedAfterTheImportShowsItsWorkWhenClicked() {
        ContentView& window = fixture->window();
        fixture->selectRow(fixture->rowOf("a"));
        importFile(writeExport(QStringLiteral("notebook.html"), kHighlightWithNote));
        window.setHideNoAnnotations(false);
        window.setHideNoAnnotations(true);
        QCOMPARE(window.workList()->currentIndex().row(), fixture->rowOf("a")); // marked, not shown
        QVERIFY(!window.selectedWork());

        fixture->selectRow(fixture->rowOf("a"));
        QVERIFY(window.selectedWork());
        QCOMPARE(window.selectedWork()->workTitle, std::string("a"));
        QCOMPARE(window.windowTitle(), QStringLiteral("a"));
    }

    void aBookWithoutHighlightsIsListedEvenWithTheFilterOn() {
        importFile(writeExport(QStringLiteral("empty.html"), QByteArray()));
        QVERIFY(fixture->window().hideNoAnnotations());
        QCOMPARE(fixture->rowTitles(), QStringList{QStringLiteral("Kindle Book & Co")});
        QCOMPARE(fixture->rowCountLines(), QStringList{QStringLiteral("Total Annotations: 0")});
    }

    void aFileThatIsNotAnExportEmptiesTheList() {
        const QString path = QDir::homePath() + QStringLiteral("/Downloads/other.html");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<html><body><p>Not a notebook</p></body></html>");
        file.close();
        importFile(path);
        QCOMPARE(fixture->rowTitles(), QStringList());
    }

    void aCancelledPanelChangesNothing() {
        fixture->selectRow(fixture->rowOf("b"));
        const std::shared_ptr<Work> b = fixture->window().selectedWork();
        fixture->window().selectKindleAction()->trigger();
        QCOMPARE(fixture->presenter().htmlFilePanels, 1);
        QCOMPARE(fixture->rowTitles(), (QStringList{"a", "b"}));
        QCOMPARE(fixture->window().selectedWork(), b);
    }
};

NOTARA_UI_TEST_MAIN(KindleImportTest)
#include "KindleImportTest.moc"
