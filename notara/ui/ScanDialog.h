#pragma once

#include "notara/core/sources/Scan.h"

#include <QDialog>

#include <vector>

class QListWidget;
class QPushButton;

namespace notara {

// "Find Highlights on This Computer…": what the scan found (reader, place, books and
// highlights), each ticked to be imported.
class ScanDialog : public QDialog {
    Q_OBJECT

public:
    ScanDialog(std::vector<Scan::Found> found, QWidget* parent = nullptr);

    // The entries ticked when the dialog was accepted.
    std::vector<Scan::Found> ticked() const;
    QListWidget* list() const { return _list; }
    QPushButton* importButton() const { return _import; }
    // "1 book, 3 highlights", in the reader's language and number format.
    static QString booksAndHighlights(std::size_t books, std::size_t highlights);

private:
    std::vector<Scan::Found> _found;
    QListWidget* _list = nullptr;
    QPushButton* _import = nullptr;
};

} // namespace notara
