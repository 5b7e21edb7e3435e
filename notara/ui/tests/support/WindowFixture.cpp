#include "notara/ui/tests/support/WindowFixture.h"

#include "notara/ui/WorkListModel.h"
#include "notara/ui/tests/support/TestEnvironment.h"

#include <QAction>
#include <QListView>
#include <QTest>

namespace notara::test {

WindowFixture::WindowFixture() : _dataManager(std::make_unique<DataManager>()) {
    auto presenter = std::make_unique<ScriptedPresenter>();
    _presenter = presenter.get();
    _window = std::make_unique<ContentView>(*_dataManager, std::move(presenter));
}

WindowFixture::~WindowFixture() {
    close();
}

bool WindowFixture::open() {
    _window->show();
    if (!QTest::qWaitForWindowExposed(_window.get())) return false;
    QCoreApplication::processEvents(); // the launch restore runs once the window is on screen
    return true;
}

void WindowFixture::close() {
    _window.reset();
    _dataManager.reset();
}

BooksLibraryBuilder WindowFixture::writeBooksFolder(const QString& name,
                                                    const std::vector<FixtureBook>& books,
                                                    const std::vector<FixtureAnnotation>& annotations,
                                                    bool withAnnotationDatabase) const {
    BooksLibraryBuilder builder(testHome() + QStringLiteral("/") + name);
    builder.writeLibrary(books);
    if (withAnnotationDatabase) builder.writeAnnotations(annotations);
    return builder;
}

void WindowFixture::chooseBooksFolder(const QString& folder) {
    _presenter->folderAnswers.push_back(PanelResult::chosen(folder));
    _window->selectBooksFolderAction()->trigger();
}

QStringList WindowFixture::rowTitles() const {
    QStringList titles;
    const QAbstractItemModel* model = _window->workList()->model();
    for (int row = 0; row < model->rowCount(); ++row)
        titles << model->index(row, 0).data().toString();
    return titles;
}

QStringList WindowFixture::rowCountLines() const {
    QStringList lines;
    const QAbstractItemModel* model = _window->workList()->model();
    for (int row = 0; row < model->rowCount(); ++row)
        lines << model->index(row, 0).data(WorkListModel::AnnotationCountTextRole).toString();
    return lines;
}

int WindowFixture::rowOf(const QString& title) const {
    return rowTitles().indexOf(title);
}

void WindowFixture::selectRow(int row) {
    QListView* list = _window->workList();
    const QRect rect = list->visualRect(list->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

std::vector<FixtureBook> sampleBooks() {
    return {{"ID-b", "b", "Author B"}, {"ID-B", "B", "Author Upper"}, {"ID-a", "a", "Author A"}};
}

std::vector<FixtureAnnotation> sampleAnnotations() {
    return {{"ID-b", "Only passage of b", ""},
            {"ID-a", "First passage of a\nwith a second paragraph", "A note on the first"},
            {"ID-a", "Second passage of a", ""}};
}

} // namespace notara::test
