#include "notara/ui/ScanDialog.h"

#include "notara/ui/CoreTexts.h"
#include "notara/ui/DisplayPath.h"

#include "notara/core/sources/Sources.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

namespace notara {

ScanDialog::ScanDialog(std::vector<Scan::Found> found, QWidget* parent)
    : QDialog(parent), _found(std::move(found)) {
    setWindowTitle(tr("Find Highlights on This Computer"));
    auto* layout = new QVBoxLayout(this);
    auto* intro =
        new QLabel(_found.empty() ? tr("No highlights of KOReader, Foliate or calibre were found on this "
                                       "computer or on a mounted e-reader.")
                                  : tr("Choose what to import. The readers' files are only read."),
                   this);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    _list = new QListWidget(this);
    _list->setAccessibleName(tr("Highlights found"));
    for (const Scan::Found& entry : _found) {
        auto* item = new QListWidgetItem(
            tr("%1 \u2014 %2 \u2014 %3")
                .arg(CoreTexts::sourceName(entry.kind),
                     DisplayPath::homeAsTilde(QString::fromStdString(entry.place.native())),
                     booksAndHighlights(entry.books, entry.highlights)),
            _list);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
    _list->setVisible(!_found.empty());
    layout->addWidget(_list, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    _import = buttons->addButton(tr("Import"), QDialogButtonBox::AcceptRole);
    _import->setEnabled(!_found.empty());
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(640, 360);
}

QString ScanDialog::booksAndHighlights(std::size_t books, std::size_t highlights) {
    const QLocale locale;
    const auto counted = [&](std::size_t count, const char* one, const char* many) {
        return locale.toString(static_cast<qulonglong>(count)) + ' ' +
               QCoreApplication::translate("ContentView", count == 1 ? one : many);
    };
    return QCoreApplication::translate("ContentView", "%1, %2")
        .arg(counted(books, QT_TRANSLATE_NOOP("ContentView", "book"),
                     QT_TRANSLATE_NOOP("ContentView", "books")),
             counted(highlights, QT_TRANSLATE_NOOP("ContentView", "highlight"),
                     QT_TRANSLATE_NOOP("ContentView", "highlights")));
}

std::vector<Scan::Found> ScanDialog::ticked() const {
    std::vector<Scan::Found> chosen;
    for (int row = 0; row < _list->count(); ++row)
        if (_list->item(row)->checkState() == Qt::Checked)
            chosen.push_back(_found[static_cast<std::size_t>(row)]);
    return chosen;
}

} // namespace notara
