// The search field on the real window: typing filters the list and the cards, rows count their
// matches, Esc gives back the list and the selection, and the filter and reloads keep the query.
#include "notara/core/model/Annotation.h"
#include "notara/core/model/Work.h"
#include "notara/ui/AnnotationListModel.h"
#include "notara/ui/WorkDetailView.h"
#include "notara/ui/tests/support/TestEnvironment.h"
#include "notara/ui/tests/support/WindowFixture.h"

#include <QAction>
#include <QLineEdit>
#include <QListView>
#include <QTest>

using namespace notara;
using namespace notara::test;

class SearchFieldTest : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowFixture> fixture;
    QString folder;

    void type(const QString& text) {
        QLineEdit& field = *fixture->window().searchField();
        field.clear();
        QTest::keyClicks(&field, text);
        QCoreApplication::processEvents(); // the query runs once typing pauses
    }
    QStringList cards() {
        QStringList texts;
        QAbstractItemModel* model = fixture->window().detailView()->annotationList()->model();
        for (int row = 0; row < model->rowCount(); ++row)
            texts << model->index(row, 0).data().toString();
        return texts;
    }

private slots:
    void init() {
        resetUserState();
        fixture = std::make_unique<WindowFixture>();
        QVERIFY(fixture->open());
        folder = fixture->writeBooksFolder("Data", sampleBooks(), sampleAnnotations()).folder();
        fixture->chooseBooksFolder(folder);
        QCOMPARE(fixture->rowTitles(), (QStringList{"a", "b"}));
    }
    void cleanup() { fixture.reset(); }

    void typingFiltersTheListAndTheCards() {
        QCOMPARE(fixture->window().searchField()->placeholderText(), QStringLiteral("Search Highlights"));
        fixture->selectRow(fixture->rowOf("a"));
        type("PASSAGE");
        QCOMPARE(fixture->rowTitles(), (QStringList{"a", "b"}));
        QCOMPARE(fixture->rowCountLines(),
                 (QStringList{"Matching Annotations: 2", "Matching Annotations: 1"}));
        type("second passage");
        QCOMPARE(fixture->rowTitles(), (QStringList{"a"}));
        QCOMPARE(cards(),
                 (QStringList{"First passage of a\nwith a second paragraph", "Second passage of a"}));
        type("note first");
        QCOMPARE(cards(), (QStringList{"First passage of a\nwith a second paragraph"}));
        const QModelIndex card = fixture->window().detailView()->annotationList()->model()->index(0, 0);
        QCOMPARE(card.data(AnnotationListModel::PassageMatchesRole).toList().size(), 1); // "First"
        QCOMPARE(card.data(AnnotationListModel::NoteMatchesRole).toList().size(), 2);    // "note", "first"
        type("nothing like this");
        QCOMPARE(fixture->rowTitles(), QStringList());
    }

    void aLargeListIsIndexedAsideAndAnswersWhenReady() {
        // Enough annotations to be indexed on a thread of its own.
        std::vector<std::shared_ptr<Work>> works;
        for (int w = 0; w < 400; ++w) {
            auto work = std::make_shared<Work>("Book " + std::to_string(w), "Author");
            for (int a = 0; a < 60; ++a)
                work->annotations.push_back(std::make_shared<Annotation>(
                    "id", "passage " + std::to_string(w * 60 + a) + (a == 7 ? " lighthouse" : ""), ""));
            works.push_back(std::move(work));
        }
        fixture->dataManager().setFilteredWorks(works);
        type("lighthouse");
        QTRY_COMPARE(fixture->rowCountLines().first(), QStringLiteral("Matching Annotations: 1"));
        QCOMPARE(fixture->rowTitles().size(), 400);
        type("passage 23999");
        QCOMPARE(fixture->rowTitles(), QStringList{"Book 399"}); // the index is ready: answered at once
    }

    void escGivesBackTheListAndTheSelection() {
        fixture->selectRow(fixture->rowOf("b"));
        type("second");
        QCOMPARE(fixture->rowTitles(), (QStringList{"a"}));
        QTest::keyClick(fixture->window().searchField(), Qt::Key_Escape);
        QCoreApplication::processEvents();
        QCOMPARE(fixture->window().searchField()->text(), QString());
        QCOMPARE(fixture->rowTitles(), (QStringList{"a", "b"}));
        QCOMPARE(fixture->rowCountLines(), (QStringList{"Total Annotations: 2", "Total Annotations: 1"}));
        QCOMPARE(fixture->window().selectedWork()->workTitle, std::string("b"));
        QCOMPARE(fixture->window().workList()->currentIndex().row(), fixture->rowOf("b"));
        QCOMPARE(cards(), (QStringList{"Only passage of b"}));
    }

    void theHideRuleAndAReloadKeepTheQuery() {
        type("author");
        QCOMPARE(fixture->rowTitles(), (QStringList{"a", "b"})); // B has no annotations to show
        fixture->window().hideNoAnnotationsAction()->trigger();
        QCoreApplication::processEvents();
        QCOMPARE(fixture->rowTitles(), (QStringList{"B", "a", "b"}));
        QCOMPARE(fixture->window().searchField()->text(), QStringLiteral("author"));
        fixture->window().hideNoAnnotationsAction()->trigger();
        fixture->chooseBooksFolder(folder);
        QCoreApplication::processEvents();
        QCOMPARE(fixture->rowTitles(), (QStringList{"a", "b"}));
        QCOMPARE(fixture->rowCountLines(),
                 (QStringList{"Matching Annotations: 2", "Matching Annotations: 1"}));
    }
};

NOTARA_UI_TEST_MAIN(SearchFieldTest)
#include "SearchFieldTest.moc"
