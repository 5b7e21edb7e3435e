#pragma once

#include "notara/core/model/DataManager.h"
#include "notara/ui/ContentView.h"
#include "notara/ui/tests/support/BooksLibraryBuilder.h"
#include "notara/ui/tests/support/ScriptedPresenter.h"

#include <QStringList>
#include <memory>

namespace notara::test {

// A fresh model and a real main window answered by a ScriptedPresenter, plus helpers to
// read what the sidebar shows.
class WindowFixture {
public:
    WindowFixture();
    ~WindowFixture();

    // Shows the window and lets its launch restore run.
    bool open();
    void close();

    // A Books data folder under the test home with both databases (or only the library).
    BooksLibraryBuilder writeBooksFolder(const QString& name, const std::vector<FixtureBook>& books,
                                         const std::vector<FixtureAnnotation>& annotations,
                                         bool withAnnotationDatabase = true) const;

    // Chooses `folder` in the Books folder panel, through the Actions menu entry.
    void chooseBooksFolder(const QString& folder);

    QStringList rowTitles() const;
    QStringList rowCountLines() const;
    int rowOf(const QString& title) const;
    void selectRow(int row);

    DataManager& dataManager() { return *_dataManager; }
    ContentView& window() { return *_window; }
    ScriptedPresenter& presenter() { return *_presenter; }

private:
    std::unique_ptr<DataManager> _dataManager;
    ScriptedPresenter* _presenter = nullptr;
    std::unique_ptr<ContentView> _window;
};

// The small library most tests load: "b" (1 highlight), "B" (none), "a" (2, one with a note).
std::vector<FixtureBook> sampleBooks();
std::vector<FixtureAnnotation> sampleAnnotations();

} // namespace notara::test
