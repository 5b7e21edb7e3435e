#include "notara/ui/WorkDetailView.h"

#include "notara/core/model/Annotation.h"
#include "notara/core/model/DataManager.h"
#include "notara/core/model/Work.h"
#include "notara/core/sources/ReaderLink.h"
#include "notara/ui/AnnotationCardDelegate.h"
#include "notara/ui/AnnotationListModel.h"
#include "notara/ui/AppIcons.h"
#include "notara/ui/DisplayPath.h"
#include "notara/ui/FileManager.h"
#include "notara/ui/MenuCheckStyle.h"
#include "notara/ui/PanelPresenter.h"

#include <QAction>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QPointer>
#include <QProcess>
#include <QStackedWidget>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>
#include <map>

namespace notara {

namespace {

// Qt reads "[*]" in a window title as the modified marker; a title from data keeps it.
QString literalWindowTitle(QString title) {
    return title.replace(QLatin1String("[*]"), QLatin1String("[*][*]"));
}

} // namespace

WorkDetailView::WorkDetailView(DataManager& dataManager, PanelPresenter& presenter, QWidget* parent)
    : QWidget(parent), _dataManager(dataManager), _presenter(presenter) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    _toolBar = new QToolBar(this);
    _toolBar->setMovable(false);
    _toolBar->setFloatable(false);
    _toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    auto* header = new QWidget(_toolBar);
    auto* headerLayout = new QVBoxLayout(header);
    headerLayout->setContentsMargins(6, 2, 6, 2);
    headerLayout->setSpacing(0);
    _titleLabel = new QLabel(header);
    _titleLabel->setTextFormat(Qt::PlainText);
    QFont titleFont = _titleLabel->font();
    titleFont.setBold(true);
    _titleLabel->setFont(titleFont);
    _subtitleLabel = new QLabel(header);
    _subtitleLabel->setTextFormat(Qt::PlainText);
    _subtitleLabel->setForegroundRole(QPalette::PlaceholderText);
    headerLayout->addWidget(_titleLabel);
    headerLayout->addWidget(_subtitleLabel);
    header->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    _toolBar->addWidget(header);
    _exportAction = _toolBar->addAction(AppIcons::exportAnnotations(), tr("Export Annotations"));
    _exportAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    _exportAction->setShortcutContext(Qt::WindowShortcut);
    connect(_exportAction, &QAction::triggered, this, &WorkDetailView::exportAnnotations);
    // A tool bar's buttons take no focus by default; this one is the pane's main action.
    if (QWidget* button = _toolBar->widgetForAction(_exportAction)) button->setFocusPolicy(Qt::TabFocus);
    layout->addWidget(_toolBar);

    _pages = new QStackedWidget(this);
    // Nothing selected: what to do, rather than an empty pane.
    auto* hint = new QLabel(tr("Select a book to see its highlights"), _pages);
    hint->setAlignment(Qt::AlignCenter);
    hint->setForegroundRole(QPalette::PlaceholderText);
    hint->setWordWrap(true);
    _emptyPage = hint;
    _pages->addWidget(_emptyPage);

    _noAnnotationsLabel = new QLabel(_pages);
    _noAnnotationsLabel->setTextFormat(Qt::PlainText);
    _noAnnotationsLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    _noAnnotationsLabel->setWordWrap(true);
    _noAnnotationsLabel->setContentsMargins(12, 12, 12, 12);
    _noAnnotationsLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    _pages->addWidget(_noAnnotationsLabel);

    _annotationList = new QListView(_pages);
    _annotationModel = new AnnotationListModel(_annotationList);
    _cardDelegate = new AnnotationCardDelegate(_annotationList);
    _annotationList->setModel(_annotationModel);
    _annotationList->setItemDelegate(_cardDelegate);
    _annotationList->setAccessibleName(tr("Highlights"));
    _cardDelegate->watchModel(_annotationModel);
    _annotationList->setSelectionMode(QAbstractItemView::SingleSelection);
    _annotationList->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    _annotationList->setResizeMode(QListView::Adjust);
    _annotationList->setWordWrap(true); // a new width re-measures the cards (they wrap)
    // Cards are measured a batch at a time while the event loop runs, never all up front.
    _annotationList->setLayoutMode(QListView::Batched);
    _annotationList->setBatchSize(40);
    _annotationList->setFrameShape(QFrame::NoFrame);
    _annotationList->setContextMenuPolicy(Qt::CustomContextMenu);
    _annotationList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // A scroll bar that came and went would change the width and re-measure every card.
    _annotationList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    _annotationList->setSpacing(0);
    connect(_annotationList, &QWidget::customContextMenuRequested, this, [this](const QPoint& position) {
        const QModelIndex index = _annotationList->indexAt(position);
        if (!index.isValid() || !_annotationModel->annotationAt(index.row())) return; // not on a chapter row
        _annotationList->setCurrentIndex(index);
        std::unique_ptr<QMenu> menu = contextMenuForRow(index.row());
        menu->exec(_annotationList->viewport()->mapToGlobal(position));
    });
    connect(_annotationList->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                _selectedAnnotation = _annotationModel->annotationAt(current.row());
            });
    connect(_annotationModel, &QAbstractItemModel::modelReset, this,
            [this] { _selectedAnnotation = nullptr; });

    auto* copyShortcut = new QAction(tr("Copy"), _annotationList);
    copyShortcut->setShortcut(QKeySequence::Copy);
    copyShortcut->setShortcutContext(Qt::WidgetShortcut);
    connect(copyShortcut, &QAction::triggered, this, [this] {
        if (_annotationList->currentIndex().isValid()) copyAnnotation(_annotationList->currentIndex().row());
    });
    _annotationList->addAction(copyShortcut);
    auto* citationShortcut = new QAction(tr("Copy as Citation"), _annotationList);
    citationShortcut->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    citationShortcut->setShortcutContext(Qt::WidgetShortcut);
    connect(citationShortcut, &QAction::triggered, this, [this] {
        if (_annotationList->currentIndex().isValid())
            copyAnnotationAsCitation(_annotationList->currentIndex().row());
    });
    _annotationList->addAction(citationShortcut);
    // The reader's marks, for a highlight kept in the library.
    const auto onCurrent = [this](auto mark) {
        return [this, mark] {
            const auto annotation = _annotationModel->annotationAt(_annotationList->currentIndex().row());
            if (annotation && _marking.canMark && _marking.canMark(*annotation)) (_marking.*mark)(annotation);
        };
    };
    auto* favouriteShortcut = new QAction(tr("Favourite"), _annotationList);
    favouriteShortcut->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    favouriteShortcut->setShortcutContext(Qt::WidgetShortcut);
    connect(favouriteShortcut, &QAction::triggered, this, onCurrent(&Marking::toggleFavourite));
    _annotationList->addAction(favouriteShortcut);
    auto* tagsShortcut = new QAction(tr("Tags\u2026"), _annotationList);
    tagsShortcut->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    tagsShortcut->setShortcutContext(Qt::WidgetShortcut);
    connect(tagsShortcut, &QAction::triggered, this, onCurrent(&Marking::editTags));
    _annotationList->addAction(tagsShortcut);
    _pages->addWidget(_annotationList);
    layout->addWidget(_pages, 1);
    _readerAvailable = [known = std::make_shared<std::map<QString, bool>>()](const QString& scheme) {
        if (scheme.isEmpty()) return false;
        auto found = known->find(scheme);
        if (found == known->end()) {
            // The desktop's answer for the scheme's handler, asked once.
            QProcess query;
            query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"),
                                                     QStringLiteral("x-scheme-handler/") + scheme});
            const bool answered = query.waitForFinished(2000) && query.exitCode() == 0;
            found =
                known->emplace(scheme, answered && !query.readAllStandardOutput().trimmed().isEmpty()).first;
        }
        return found->second;
    };

    showSelectedWork();
}

WorkDetailView::~WorkDetailView() = default;

void WorkDetailView::setSelectedWork(std::shared_ptr<Work> work) {
    _selectedWork = std::move(work);
    showSelectedWork();
}

void WorkDetailView::showSelectedWork() {
    const Work* work = _selectedWork.get();
    const QString title = work ? QString::fromStdString(work->workTitle) : QString();
    window()->setWindowTitle(work ? literalWindowTitle(title) : QStringLiteral("Notara"));
    _titleLabel->setText(title);
    _subtitleLabel->setText(work ? QString::fromStdString(work->workAuthor) : QString());
    _titleLabel->setVisible(work != nullptr);
    _subtitleLabel->setVisible(work != nullptr && !work->workAuthor.empty());

    const bool hasAnnotations = work && !work->annotations.empty();
    _exportAction->setVisible(hasAnnotations);
    _annotationModel->setWork(hasAnnotations ? _selectedWork : nullptr, _annotationModel->order());
    if (!work) {
        _pages->setCurrentWidget(_emptyPage);
    } else if (!hasAnnotations) {
        _noAnnotationsLabel->setText(tr("No Annotations for \"%1\"").arg(title));
        _pages->setCurrentWidget(_noAnnotationsLabel);
    } else {
        _pages->setCurrentWidget(_annotationList);
        _annotationList->scrollToTop();
    }
}

void WorkDetailView::exportAnnotations() {
    if (!_selectedWork) return;
    const bool exported =
        _dataManager.exportMarkdown(*_selectedWork, _annotationModel->order(), _detailedExport);
    _exportingAlertBody =
        exported
            ? tr("Exported all Annotations for \"%1\"").arg(QString::fromStdString(_selectedWork->workTitle))
            : tr("Unable to export Annotations!");
    _showExportingAlert = true;
    auto dismissed = [self = QPointer<WorkDetailView>(this)] {
        if (self) self->_showExportingAlert = false;
    };
    const auto& written = _dataManager.lastExportPath();
    if (exported && written) {
        const QString path = QString::fromStdString(written->native());
        _presenter.presentAlertWithAction(
            window(), QStringLiteral("Notara"), _exportingAlertBody,
            tr("Annotations exported to %1").arg(DisplayPath::homeAsTilde(path)), tr("Show in Folder"),
            [self = QPointer<WorkDetailView>(this), path] {
                if (!FileManager::showInFolder(path) && self)
                    emit self->problemOccurred(FileManager::notShownText(path));
            },
            std::move(dismissed));
        return;
    }
    _presenter.presentAlert(window(), QStringLiteral("Notara"), _exportingAlertBody, std::move(dismissed));
    const std::string& problem = _dataManager.lastExportProblem();
    if (!problem.empty())
        emit problemOccurred(
            tr("The annotations of \"%1\" could not be written: %2")
                .arg(QString::fromStdString(_selectedWork->workTitle), QString::fromStdString(problem)));
}

void WorkDetailView::copyAnnotation(int row) {
    const std::shared_ptr<Annotation> annotation = _annotationModel->annotationAt(row);
    if (!annotation) return;
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(QString::fromStdString(annotation->annotationSelectedText));
    emit copied();
}

void WorkDetailView::copyAnnotationAsCitation(int row) {
    const std::shared_ptr<Annotation> annotation = _annotationModel->annotationAt(row);
    if (!annotation || !_selectedWork) return;
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(citation(*_selectedWork, *annotation));
    emit copied();
}

QString WorkDetailView::citation(const Work& work, const Annotation& annotation) {
    // A lone note has no passage; its note is what there is to quote.
    const std::string& quoted = annotation.annotationSelectedText.empty() ? annotation.annotationUserNotes
                                                                          : annotation.annotationSelectedText;
    QString text = QStringLiteral("\u201C") + QString::fromStdString(quoted) +
                   QStringLiteral("\u201D\n\u2014 ") + QString::fromStdString(work.workTitle);
    if (!work.workAuthor.empty()) text += QStringLiteral(", ") + QString::fromStdString(work.workAuthor);
    const QString place = AnnotationListModel::placeText(annotation);
    if (!place.isEmpty()) text += QStringLiteral(", ") + place;
    return text;
}

void WorkDetailView::setSearch(const std::span<const Annotation* const>* matching, const QString& query) {
    _annotationModel->setSearch(matching, query);
}

void WorkDetailView::openInReader(int row) {
    const std::shared_ptr<Annotation> annotation = _annotationModel->annotationAt(row);
    if (!annotation || !_selectedWork) return;
    const bool reader = _readerAvailable(QString::fromStdString(ReaderLink::scheme(*_selectedWork)));
    const auto link = ReaderLink::url(*_selectedWork, *annotation, reader);
    if (!link) return;
    if (!QDesktopServices::openUrl(QUrl(QString::fromStdString(*link))))
        emit problemOccurred(tr("No program on this computer opens \u201C%1\u201D.")
                                 .arg(QString::fromStdString(_selectedWork->workTitle)));
}

void WorkDetailView::refreshCards() {
    _annotationModel->refresh();
}

void WorkDetailView::setAnnotationOrder(AnnotationOrder::Order order) {
    _annotationModel->setOrder(order);
}

AnnotationOrder::Order WorkDetailView::annotationOrder() const {
    return _annotationModel->order();
}

std::unique_ptr<QMenu> WorkDetailView::contextMenuForRow(int row) {
    auto menu = std::make_unique<QMenu>(this);
    menu->setStyle(MenuCheckStyle::forMenus());
    menu->addAction(tr("Copy"), this, [this, row] { copyAnnotation(row); })->setShortcut(QKeySequence::Copy);
    menu->addAction(tr("Copy as Citation"), this, [this, row] { copyAnnotationAsCitation(row); })
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C));
    const std::shared_ptr<Annotation> annotation = _annotationModel->annotationAt(row);
    if (annotation && _selectedWork) {
        const bool reader = _readerAvailable(QString::fromStdString(ReaderLink::scheme(*_selectedWork)));
        if (ReaderLink::url(*_selectedWork, *annotation, reader))
            menu->addAction(tr("Open in Reader"), this, [this, row] { openInReader(row); });
    }
    if (annotation && _marking.canMark && _marking.canMark(*annotation)) {
        menu->addSeparator();
        QAction* favourite = menu->addAction(tr("Favourite"), this,
                                             [this, annotation] { _marking.toggleFavourite(annotation); });
        favourite->setCheckable(true);
        favourite->setChecked(annotation->annotationLibrary->favourite);
        favourite->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
        menu->addAction(tr("Tags\u2026"), this, [this, annotation] { _marking.editTags(annotation); })
            ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    }
    return menu;
}

} // namespace notara
