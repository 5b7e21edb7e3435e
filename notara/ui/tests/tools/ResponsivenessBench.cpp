// Measures how the window copes with a large library: 20,000 books and 200,000 annotations,
// one work holding 10,000 of them. Prints the time from selecting that work to its cards being
// on screen, how many cards had been measured by then, the time the remaining batched layout
// takes in the background, and the cost of scrolling. Run a release build:
//   QT_QPA_PLATFORM=offscreen build/release/notara/ui/notara_ui_ResponsivenessBench
#include "notara/core/model/DataManager.h"
#include "notara/ui/AnnotationCardDelegate.h"
#include "notara/ui/ContentView.h"
#include "notara/ui/WorkDetailView.h"
#include "notara/ui/WorkListModel.h"
#include "notara/ui/tests/support/BooksLibraryBuilder.h"
#include "notara/ui/tests/support/ScriptedPresenter.h"
#include "notara/ui/tests/support/TestEnvironment.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QLineEdit>
#include <QListView>
#include <QScrollBar>
#include <algorithm>
#include <cstdio>
#include <unistd.h>

using namespace notara;

namespace {

constexpr int kBooks = 20'000;
constexpr int kAnnotations = 200'000;
constexpr int kBigWorkAnnotations = 10'000;

class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

// The longest stretch without any paint event while it records.
class GapRecorder : public QObject {
public:
    int paints = 0;
    void start() {
        clock.start();
        last = 0;
        longest = 0;
    }
    double longestMs() const { return double(std::max(longest, clock.nsecsElapsed() - last)) / 1e6; }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
            const qint64 now = clock.nsecsElapsed();
            longest = std::max(longest, now - last);
            last = now;
        }
        return false;
    }

private:
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 longest = 0;
};

// About 200 bytes of prose, varied so that cards wrap to different heights.
std::string passage(int i) {
    static const char* words[] = {"river", "light",  "stone", "memory", "summer", "window",
                                  "quiet", "across", "the",   "of",     "while",  "every",
                                  "upon",  "old",    "lay",   "carried"};
    std::string text;
    const std::size_t length = 120 + static_cast<std::size_t>(i * 37 % 200);
    for (int w = 0; text.size() < length; ++w) {
        text += words[(i * 7 + w * 5) % 16];
        text += ' ';
    }
    text.back() = '.';
    return text;
}

void waitForPaint(PaintCounter& counter) {
    const int before = counter.paints;
    while (counter.paints == before)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

} // namespace

int main(int argc, char** argv) {
    test::isolateUserFolders();
    NotaraApp app(argc, argv);

    QElapsedTimer timer;
    timer.start();
    test::BooksLibraryBuilder builder(test::testHome() + QStringLiteral("/BooksData"));
    std::vector<test::FixtureBook> books;
    books.reserve(kBooks);
    for (int i = 0; i < kBooks; ++i)
        books.push_back({"ASSET-" + std::to_string(i), i == 0 ? "Big Work" : "Work " + std::to_string(i),
                         "Author " + std::to_string(i % 977)});
    std::vector<test::FixtureAnnotation> annotations;
    annotations.reserve(kAnnotations);
    for (int i = 0; i < kAnnotations; ++i) {
        const int book = i < kBigWorkAnnotations ? 0 : 1 + (i % (kBooks - 1));
        // The big work in chapters of 25 annotations, so its cards sit under chapter rows.
        annotations.push_back({"ASSET-" + std::to_string(book), passage(i),
                               i % 4 == 0 ? "A note of some length about passage " + std::to_string(i) : "",
                               "Chapter " + std::to_string(i / 25 + 1)});
    }
    builder.writeLibrary(books);
    builder.writeAnnotations(annotations);
    std::printf("library written: %d books, %d annotations (%.0f ms)\n", kBooks, kAnnotations,
                double(timer.elapsed()));

    auto presenter = std::make_unique<test::ScriptedPresenter>();
    test::ScriptedPresenter& panels = *presenter;
    ContentView window(DataManager::shared(), std::move(presenter));
    window.show();
    QCoreApplication::processEvents();

    panels.folderAnswers.push_back(PanelResult::chosen(builder.folder()));
    timer.restart();
    window.selectBooksFolder();
    const qint64 loadMs = timer.elapsed();
    QCoreApplication::processEvents();
    std::printf("Books folder flow (copy, load, hide rule, list reset): %lld ms, %d rows listed\n",
                static_cast<long long>(loadMs), window.workListModel()->rowCount());

    QListView* cards = window.detailView()->annotationList();
    AnnotationCardDelegate* delegate = window.detailView()->cardDelegate();
    PaintCounter counter;
    cards->viewport()->installEventFilter(&counter);

    const int bigRow = window.workListModel()->rowOfWork(DataManager::shared().filteredWorks().front()->id);
    timer.restart();
    window.workList()->setCurrentIndex(window.workListModel()->index(bigRow));
    waitForPaint(counter);
    const double firstPaintMs = double(timer.nsecsElapsed()) / 1e6;
    std::printf("select a work with %d annotations -> cards painted: %.1f ms (%d of %d cards measured)\n",
                cards->model()->rowCount(), firstPaintMs, delegate->measuredCardCount(),
                cards->model()->rowCount());

    timer.restart();
    qint64 longestStep = 0;
    while (delegate->measuredCardCount() < cards->model()->rowCount() && timer.elapsed() < 60'000) {
        QElapsedTimer step;
        step.start();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        longestStep = std::max(longestStep, step.nsecsElapsed());
    }
    std::printf("remaining cards laid out in batches while idle: %.1f ms (longest event-loop step %.1f ms)\n",
                double(timer.nsecsElapsed()) / 1e6, double(longestStep) / 1e6);

    timer.restart();
    window.resize(window.width() + 200, window.height());
    QCoreApplication::processEvents();
    while (delegate->measuredCardCount() < cards->model()->rowCount() && timer.elapsed() < 20'000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    std::printf("window widened: all cards re-measured in batches in %.1f ms (%d measured)\n",
                double(timer.nsecsElapsed()) / 1e6, delegate->measuredCardCount());

    QScrollBar* bar = cards->verticalScrollBar();
    timer.restart();
    constexpr int kSteps = 200;
    for (int step = 1; step <= kSteps; ++step) {
        bar->setValue(bar->maximum() / kSteps * step);
        waitForPaint(counter);
    }
    std::printf("scrolling through all cards, %d jumps: %.2f ms per repaint\n", kSteps,
                double(timer.nsecsElapsed()) / 1e6 / kSteps);

    timer.restart();
    window.workList()->setCurrentIndex(window.workListModel()->index(bigRow + 1));
    waitForPaint(counter);
    std::printf("select another work -> cards painted: %.1f ms\n", double(timer.nsecsElapsed()) / 1e6);

    // Typing in the search field: from the keystroke to the list painted with the answer
    // (the first query also builds the index).
    PaintCounter listPaints;
    window.workList()->viewport()->installEventFilter(&listPaints);
    for (const char* query : {"r", "riv", "river li", "\"quiet river\"", ""}) {
        timer.restart();
        window.searchField()->setText(QString::fromUtf8(query));
        waitForPaint(listPaints);
        std::printf("search \"%s\" -> list painted: %.1f ms, %d works listed\n", query,
                    double(timer.nsecsElapsed()) / 1e6, window.workListModel()->rowCount());
    }

    // Export All Works: every work's file, with the window painting (the progress dialog) as it goes.
    GapRecorder gaps;
    app.installEventFilter(&gaps);
    const QString folder = test::testHome() + QStringLiteral("/ExportAll");
    QDir().mkpath(folder);
    // The export waits for its own files to reach the disk; what this tool wrote before
    // (the library and its working copies) goes first so that it is not counted.
    ::sync();
    timer.restart();
    gaps.start();
    double writtenMs = 0;
    QObject::connect(&window, &ContentView::exportAllProgressed, &window, [&](int done) {
        if (done == 20000 - 1) writtenMs = double(timer.nsecsElapsed()) / 1e6;
    });
    window.exportAllWorksTo(folder);
    const double exportMs = double(timer.nsecsElapsed()) / 1e6;
    std::printf("export all works: files written in %.0f ms, then on disk\n", writtenMs);
    app.removeEventFilter(&gaps);
    std::printf("export all works: %lld files in %.0f ms; longest time without a paint %.1f ms (%d paints)\n",
                static_cast<long long>(QDir(folder).entryList(QDir::Files).size()), exportMs,
                gaps.longestMs(), gaps.paints);
    return 0;
}
