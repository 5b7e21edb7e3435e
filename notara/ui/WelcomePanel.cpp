#include "notara/ui/WelcomePanel.h"

#include "notara/ui/AppIcons.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace notara {

WelcomePanel::WelcomePanel(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->addStretch(1);
    auto* heading = new QLabel(tr("Your highlights, book by book"), this);
    QFont font = heading->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.4);
    heading->setFont(font);
    heading->setAlignment(Qt::AlignCenter);
    layout->addWidget(heading);
    auto* text = new QLabel(
        tr("Notara gathers the highlights and notes you made in e-books. Choose the Apple Books "
           "folder copied from your Mac, a Notebook page a Kindle app exported for one book, a "
           "Kindle's My Clippings.txt or a Kobo's KoboReader.sqlite. The sample shows every kind of "
           "entry."),
        this);
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignCenter);
    // A wrapped label placed with an alignment is given its one-line height; a fixed width
    // lets it take the height its lines need.
    text->setFixedWidth(440);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(text);
    row->addStretch(1);
    layout->addLayout(row);
    layout->addSpacing(12);

    auto addButton = [&](const QIcon& icon, const QString& label) {
        auto* button = new QPushButton(icon, label, this);
        button->setMinimumWidth(300);
        layout->addWidget(button, 0, Qt::AlignHCenter);
        return button;
    };
    _books = addButton(AppIcons::booksFolder(), tr("Select Books Folder"));
    _kindle = addButton(AppIcons::kindleExport(), tr("Select Kindle Notes Export (.html)"));
    _clippings = addButton(QIcon(), tr("Select Kindle Clippings (My Clippings.txt)"));
    _kobo = addButton(QIcon(), tr("Select Kobo Database (KoboReader.sqlite)"));
    _sample = addButton(QIcon(), tr("Open Sample Notebook"));
    layout->addStretch(2);

    connect(_books, &QPushButton::clicked, this, &WelcomePanel::selectBooksFolder);
    connect(_kindle, &QPushButton::clicked, this, &WelcomePanel::selectKindleExport);
    connect(_clippings, &QPushButton::clicked, this, &WelcomePanel::selectClippings);
    connect(_kobo, &QPushButton::clicked, this, &WelcomePanel::selectKobo);
    connect(_sample, &QPushButton::clicked, this, &WelcomePanel::openSampleNotebook);
}

} // namespace notara
