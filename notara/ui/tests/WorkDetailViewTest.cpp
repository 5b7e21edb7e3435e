// The detail column of the real window: what it shows for a selection, Copy and Export.
#include "notara/ui/WorkDetailView.h"
#include "corvane/Corvane.h"
#include "notara/core/model/Work.h"
#include "notara/ui/AnnotationCardDelegate.h"
#include "notara/ui/tests/support/TestEnvironment.h"
#include "notara/ui/tests/support/WindowFixture.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QWindow>

using namespace notara;
using namespace notara::test;

namespace {

QString downloadsFile(const QString& title) {
    return QDir::homePath() + QStringLiteral("/Downloads/") +
           QString::fromStdString(corvane::Corvane::dateNow()) + QLatin1Char('-') + title +
           QStringLiteral("-Annotations.md");
}

} // namespace

class WorkDetailViewTest : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowFixture> fixture;

    WorkDetailView& detail() { return *fixture->window().detailView(); }

private slots:
    void init() {
        resetUserState();
        fixture = std::make_unique<WindowFixture>();
        QVERIFY(fixture->open());
        const std::vector<FixtureBook> books{{"ID-dune", "Dune", "Frank Herbert"},
                                             {"ID-none", "Empty Book", "Nobody"},
                                             {"ID-e", "[*] Marked", ""}};
        const std::vector<FixtureAnnotation> annotations{
            {"ID-dune", "Fear is the mind-killer.\nFear is the little-death.", "Litany"},
            {"ID-dune", "Second passage, no note.", ""},
            {"ID-e", "Only one", ""}};
        fixture->chooseBooksFolder(fixture->writeBooksFolder("Data", books, annotations).folder());
        fixture->window().setHideNoAnnotations(false);
    }
    void cleanup() { fixture.reset(); }

    void showsNothingWithoutASelection() {
        QCOMPARE(fixture->window().windowTitle(), QStringLiteral("Notara"));
        QVERIFY(!detail().titleLabel()->isVisible());
        QVERIFY(!detail().subtitleLabel()->isVisible());
        QVERIFY(!detail().exportAction()->isVisible());
        QVERIFY(!detail().annotationList()->isVisible());
        QVERIFY(!detail().noAnnotationsLabel()->isVisible());
    }

    void showsTheSelectedWork() {
        fixture->selectRow(fixture->rowOf("Dune"));
        QCOMPARE(fixture->window().windowTitle(), QStringLiteral("Dune"));
        QCOMPARE(detail().subtitleLabel()->text(), QStringLiteral("Frank Herbert"));
        QVERIFY(detail().exportAction()->isVisible());
        QVERIFY(detail().annotationList()->isVisible());
        QCOMPARE(detail().annotationList()->model()->rowCount(), 2);

        // A title is data, not a window-title pattern: the title bar shows it as stored.
        fixture->selectRow(fixture->rowOf("[*] Marked"));
        QCOMPARE(fixture->window().windowHandle()->title(), QStringLiteral("[*] Marked"));

        fixture->selectRow(fixture->rowOf("Empty Book"));
        QVERIFY(detail().noAnnotationsLabel()->isVisible());
        QCOMPARE(detail().noAnnotationsLabel()->text(), QStringLiteral("No Annotations for \"Empty Book\""));
        QVERIFY(!detail().exportAction()->isVisible());
        QVERIFY(!detail().annotationList()->isVisible());
    }

    void cardsMakeRoomForTheNoteLineOnlyWhenThereIsANote() {
        fixture->selectRow(fixture->rowOf("Dune"));
        QListView* list = detail().annotationList();
        QCoreApplication::processEvents();
        const QRect withNote = list->visualRect(list->model()->index(0, 0));
        const QRect withoutNote = list->visualRect(list->model()->index(1, 0));
        const QFontMetrics passage(AnnotationCardDelegate::passageFont(list->font()));
        const QFontMetrics note(AnnotationCardDelegate::noteFont(list->font()));
        const int chrome = 2 * AnnotationCardDelegate::kPadding + AnnotationCardDelegate::kRowSpacing;
        QCOMPARE(withoutNote.height(), chrome + passage.lineSpacing());
        QCOMPARE(withNote.height(), chrome + 2 * passage.lineSpacing() +
                                        AnnotationCardDelegate::kNoteSpacing + note.lineSpacing());
        QCOMPARE(AnnotationCardDelegate::noteLine(QStringLiteral("Litany")), QStringLiteral("Note: Litany"));
        QCOMPARE(AnnotationCardDelegate::noteLine(QString()), QString());
    }

    void copyPutsExactlyThePassageOnTheClipboard() {
        QClipboard* clipboard = QGuiApplication::clipboard();
        auto* earlier = new QMimeData;
        earlier->setHtml(QStringLiteral("<b>earlier</b>"));
        clipboard->setMimeData(earlier);

        fixture->selectRow(fixture->rowOf("Dune"));
        std::unique_ptr<QMenu> menu = detail().contextMenuForRow(0);
        QCOMPARE(menu->actions().size(), 2);
        QCOMPARE(menu->actions().first()->text(), QStringLiteral("Copy"));
        QCOMPARE(menu->actions().last()->text(), QStringLiteral("Copy as Citation"));
        menu->actions().first()->trigger();

        QCOMPARE(clipboard->text(), QStringLiteral("Fear is the mind-killer.\nFear is the little-death."));
        QVERIFY(!clipboard->mimeData()->hasHtml());
    }

    void exportWritesTheFileAndSaysSo() {
        fixture->selectRow(fixture->rowOf("Dune"));
        detail().exportAction()->trigger();

        ScriptedPresenter& presenter = fixture->presenter();
        QCOMPARE(presenter.alerts, 1);
        QCOMPARE(presenter.alertTitle, QStringLiteral("Notara"));
        QCOMPARE(presenter.alertMessage, QStringLiteral("Exported all Annotations for \"Dune\""));
        QVERIFY(detail().showExportingAlert());
        presenter.dismissAlert();
        QVERIFY(!detail().showExportingAlert());

        QFile file(downloadsFile(QStringLiteral("Dune")));
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
        QCOMPARE(file.readAll(),
                 QByteArray("# Dune\n**Author**: Frank Herbert\n\n"
                            "> Fear is the mind-killer.\n>Fear is the little-death.\n\nLitany\n\n---\n"
                            "> Second passage, no note.\n---\n"));
    }

    void exportThatCannotWriteSaysItFailed() {
        // Downloads is a plain file here, so nothing can be written into it.
        const QString downloads = QDir::homePath() + QStringLiteral("/Downloads");
        QVERIFY(QDir(downloads).removeRecursively());
        QFile blocker(downloads);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();

        fixture->selectRow(fixture->rowOf("Dune"));
        detail().exportAction()->trigger();
        QCOMPARE(fixture->presenter().alertMessage, QStringLiteral("Unable to export Annotations!"));
        QCOMPARE(detail().exportingAlertBody(), QStringLiteral("Unable to export Annotations!"));

        QVERIFY(QFile::remove(downloads));
        QVERIFY(QDir().mkpath(downloads));
    }
};

NOTARA_UI_TEST_MAIN(WorkDetailViewTest)
#include "WorkDetailViewTest.moc"
