#include "notara/ui/ContentView.h"

#include "corvane/Corvane.h"
#include "corvane/FSSandboxBookmarking.h"
#include "corvane/Report.h"
#include "notara/core/export/BulkExport.h"
#include "notara/core/model/DataManager.h"
#include "notara/core/model/Work.h"
#include "notara/core/search/LibrarySearch.h"
#include "notara/core/sources/Sources.h"
#include "notara/core/sources/books/BooksFolder.h"
#include "notara/core/sources/books/BooksSource.h"
#include "notara/core/sources/books/SQLFilePairing.h"
#include "notara/core/sources/kindle/KindleNotebookSource.h"
#include "notara/ui/AboutDialog.h"
#include "notara/ui/AppIcons.h"
#include "notara/ui/CoreTexts.h"
#include "notara/ui/DisplayPath.h"
#include "notara/ui/FileManager.h"
#include "notara/ui/LibraryActions.h"
#include "notara/ui/MenuCheckStyle.h"
#include "notara/ui/MessageBar.h"
#include "notara/ui/QtPanelPresenter.h"
#include "notara/ui/ScanDialog.h"
#include "notara/ui/WaitCursor.h"
#include "notara/ui/WelcomePanel.h"
#include "notara/ui/WorkDetailView.h"
#include "notara/ui/WorkListModel.h"
#include "notara/ui/WorkRowDelegate.h"

#include <QActionGroup>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QProgressDialog>
#include <QSettings>
#include <QShortcut>
#include <QSplitter>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStorageInfo>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <atomic>
#include <filesystem>
#include <map>
#include <thread>

namespace notara {

namespace {

QString booksFolderMessage() {
    return QCoreApplication::translate(
        "ContentView",
        "Select the \"Documents\" directory for the Books App. This directory is usually found at: "
        "~/Library/Containers/com.apple.iBooksX/Data/");
}

std::filesystem::path toPath(const QString& path) {
    return std::filesystem::path(path.toStdString());
}

void reportPanelFailure(const PanelResult& result) {
    corvane::Report::line(result.errorDescription.toStdString());
}

// Whether the user chose something in a panel; a panel that failed is reported.
bool chosen(const PanelResult& result) {
    if (result.outcome == PanelResult::Outcome::Failed) reportPanelFailure(result);
    return result.outcome == PanelResult::Outcome::Chosen;
}

QString booksFolderPanelStart() {
    const QString books = QDir::homePath() + QStringLiteral("/Library/Containers/com.apple.iBooksX/Data/");
    return QDir(books).exists() ? books : QDir::homePath();
}

QString kindlePanelStart() {
    const QString downloads = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    return !downloads.isEmpty() && QDir(downloads).exists() ? downloads : QDir::homePath();
}

// Mounted volumes a USB e-reader can be: removable media under the usual mount folders, or
// any FAT-formatted volume, which is what both devices present.
std::vector<std::filesystem::path> userMountPoints() {
    std::vector<std::filesystem::path> roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady() || volume.isRoot()) continue;
        const QString root = volume.rootPath();
        const QByteArray type = volume.fileSystemType();
        const bool mediaFolder = root.startsWith(QStringLiteral("/media/")) ||
                                 root.startsWith(QStringLiteral("/run/media/")) ||
                                 root.startsWith(QStringLiteral("/mnt/"));
        const bool fat = type == "vfat" || type == "exfat" || type == "msdos" || type == "fuseblk";
        if (mediaFolder || fat) roots.push_back(toPath(root));
    }
    return roots;
}

// "143 books, 2,310 highlights from My Clippings.txt", numbers in the user's locale.
QString importSummary(const std::vector<std::shared_ptr<Work>>& works, const QString& fileName) {
    std::size_t annotations = 0;
    for (const auto& work : works)
        annotations += work->annotations.size();
    return QCoreApplication::translate("ContentView", "%1 from %2")
        .arg(ScanDialog::booksAndHighlights(works.size(), annotations), fileName);
}

// The list's text before anything was loaded.
QString nothingLoadedText() {
    return ContentView::tr("Nothing loaded yet.\n\nChoose a Books folder or a Kindle "
                           "Notebook export, or open the sample notebook.");
}

} // namespace

ContentView::ContentView(DataManager& dataManager, std::unique_ptr<PanelPresenter> presenter, QWidget* parent)
    : QMainWindow(parent), _dataManager(dataManager),
      _lastSelectediBooksDate(QSettings().value(kLastSelectKey, QStringLiteral("N/A")).toString()),
      _presenter(presenter ? std::move(presenter) : std::make_unique<QtPanelPresenter>()) {
    setWindowTitle(QStringLiteral("Notara"));
    setWindowIcon(AppIcons::application());

    auto* content = new QWidget(this);
    auto* contentLayout = new QVBoxLayout(content); // the style's default margins inset the content
    _messageBar = new MessageBar(content);
    contentLayout->addWidget(_messageBar);
    auto* splitter = _splitter = new QSplitter(Qt::Horizontal, content);
    splitter->setChildrenCollapsible(false);
    contentLayout->addWidget(splitter, 1);
    setCentralWidget(content);

    _detailPages = new QStackedWidget(splitter);
    _detailView = new WorkDetailView(_dataManager, *_presenter, _detailPages);
    _library = new LibraryActions(*this, _dataManager, *_messageBar, *_presenter);
    _library->setHideRule([this] { return _hideNoAnnotations; });
    _detailView->setMarking({[this](const Annotation& a) { return _library->canMark(a); },
                             [this](const AnnotationPtr& a) { _library->toggleFavourite(a); },
                             [this](const AnnotationPtr& a) { _library->editTags(a); }});
    connect(_library, &LibraryActions::marksChanged, _detailView, &WorkDetailView::refreshCards);
    connect(_library, &LibraryActions::showingChanged, this, [this](bool showing) {
        if (showing) setListName(tr("All Highlights"));
    });
    buildSidebar();
    splitter->insertWidget(0, _sidebar);
    _welcomePanel = new WelcomePanel(_detailPages);
    _detailPages->addWidget(_detailView);
    _detailPages->addWidget(_welcomePanel);
    splitter->addWidget(_detailPages);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    connect(_welcomePanel, &WelcomePanel::selectBooksFolder, this, &ContentView::selectBooksFolder);
    connect(_welcomePanel, &WelcomePanel::selectKindleExport, this, &ContentView::selectKindleNotesExport);
    connect(_welcomePanel, &WelcomePanel::openSampleNotebook, this, &ContentView::openSampleNotebook);
    connect(_welcomePanel, &WelcomePanel::selectClippings, this, &ContentView::selectKindleClippings);
    connect(_welcomePanel, &WelcomePanel::selectKobo, this, &ContentView::selectKoboDatabase);
    connect(_detailView, &WorkDetailView::copied, this,
            [this] { statusBar()->showMessage(tr("Copied"), 2000); });
    connect(_detailView, &WorkDetailView::problemOccurred, this,
            [this](const QString& message) { _messageBar->showMessage(MessageBar::Kind::Error, message); });
    _listObserver = _dataManager.addFilteredWorksObserver([this](DataManager::Change change) {
        if (change != DataManager::Change::DidAssign) return;
        showFirstLaunchState();
        // "Date Highlighted" only where the list has dates to sort by.
        bool dated = false;
        for (const WorkPtr& work : _dataManager.filteredWorks()) {
            for (const AnnotationPtr& annotation : work->annotations)
                if ((dated = !annotation->annotationCreated.empty())) break;
            if (dated) break;
        }
        for (const auto& [action, order] : _sortActions)
            if (order == AnnotationOrder::Order::Created) action->setEnabled(dated);
        // An import or a reload keeps what the user typed and answers it on the new list.
        if (!_searchField->text().trimmed().isEmpty()) _searchTimer->start();
        // Ready before the first keystroke; after the list is painted.
        QTimer::singleShot(0, this, &ContentView::indexListedWorks);
    });

    // The sidebar's pane exactly as wide as the sidebar: the rest of the width is the pane's.
    splitter->setSizes({kSidebarWidth, 1100 - kSidebarWidth});

    showHideState();
    showFirstLaunchState();
    // The reader's choices of earlier sessions; the store's order until one is made.
    QSettings settings;
    setAnnotationOrder(AnnotationOrder::fromName(settings.value(kOrderKey).toString().toStdString())
                           .value_or(AnnotationOrder::Order::Stored));
    _detailedExportAction->setChecked(settings.value(kDetailedExportKey, false).toBool());
    resize(1100, 720);
    // Where the reader left the window last time, if anywhere.
    restoreGeometry(settings.value(kGeometryKey).toByteArray());
    _splitter->restoreState(settings.value(kSplitterKey).toByteArray());

    _mountPoints = userMountPoints;
    _deviceTimer = new QTimer(this);
    _deviceTimer->setInterval(3000); // mounts have no signal Qt offers; looking costs a few stats
    connect(_deviceTimer, &QTimer::timeout, this, &ContentView::lookForDevicesAside);
}

ContentView::~ContentView() {
    saveWindowState();
    if (_deviceLooker.joinable()) _deviceLooker.join();
    if (_indexer.joinable()) _indexer.join();
    _dataManager.removeFilteredWorksObserver(_listObserver);
}

void ContentView::showFirstLaunchState() {
    // Nothing loaded at all: say what to do instead of standing empty.
    // (A Books load whose highlights stayed in the -wal files it lacks did load: it says so.)
    const bool nothing = _dataManager.works().empty() && _dataManager.filteredWorks().empty() &&
                         !_library->showingAllHighlights() && !_dataManager.recentHighlightsMayBeMissing();
    _detailPages->setCurrentWidget(nothing ? static_cast<QWidget*>(_welcomePanel) : _detailView);
    // A list with no rows says why, whatever the reason.
    QString why;
    if (nothing) {
        why = nothingLoadedText();
    } else if (_workListModel->rowCount() == 0) {
        const QString query = _searchField->text().trimmed();
        if (_workListModel->searching() && !query.isEmpty())
            why = tr("No highlights match \u201C%1\u201D").arg(query);
        else if (!_failedImport.isEmpty())
            why = tr("Nothing was imported from \u201C%1\u201D.").arg(_failedImport);
        else if (_dataManager.recentHighlightsMayBeMissing() && !_library->showingAllHighlights())
            why = tr(
                "No highlights were found: they are probably in the -wal files, which were not copied with "
                "the Books databases. Copy the whole Data folder from the Mac, including the files ending in "
                "-wal and -shm.");
        else if (_hideNoAnnotations)
            why = tr(
                "No book here has highlights. Turn off \"Hide Works with no Annotations\" to list them all.");
        else
            why = tr("This list is empty.");
    }
    _emptyListLabel->setText(why);
    _sidebarPages->setCurrentWidget(why.isEmpty() ? static_cast<QWidget*>(_workList) : _emptyListLabel);
    _listTitle->setText(_listName);
    _listTitle->setVisible(!nothing && !_listName.isEmpty());
}

void ContentView::setListName(const QString& name) {
    _listName = name;
    _failedImport.clear();
    showFirstLaunchState();
}

bool ContentView::showingFirstLaunchState() const {
    return _detailPages->currentWidget() == _welcomePanel;
}

void ContentView::openSampleNotebook() {
    // The parser reads files, so the sample travels from the resources to a file of our own.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const QString path = folder + QStringLiteral("/Sample Notebook.html");
    QFile::remove(path);
    if (!QDir().mkpath(folder) || !QFile::copy(QStringLiteral(":/sample-notebook.html"), path)) {
        _messageBar->showMessage(MessageBar::Kind::Error,
                                 tr("The sample notebook could not be written to %1.").arg(folder));
        return;
    }
    kindleImportFlow(PanelResult::chosen(path));
}

void ContentView::buildSidebar() {
    _sidebar = new QWidget(this);
    _sidebar->setFixedWidth(kSidebarWidth);
    auto* layout = new QVBoxLayout(_sidebar);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* toolBar = new QToolBar(_sidebar);
    toolBar->setMovable(false);
    toolBar->setFloatable(false);
    _searchField = new QLineEdit(toolBar);
    _searchField->setPlaceholderText(tr("Search Highlights"));
    _searchField->setAccessibleName(tr("Search Highlights"));
    _searchField->setClearButtonEnabled(true);
    _searchField->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    toolBar->addWidget(_searchField);
    // Typing only schedules the query: keystrokes that arrive together are answered once.
    _searchTimer = new QTimer(this);
    _searchTimer->setSingleShot(true);
    _searchTimer->setInterval(0);
    connect(_searchTimer, &QTimer::timeout, this, &ContentView::runSearch);
    connect(_searchField, &QLineEdit::textChanged, _searchTimer, qOverload<>(&QTimer::start));
    _searchField->installEventFilter(this); // Esc clears it
    auto* findShortcut = new QShortcut(QKeySequence::Find, this);
    connect(findShortcut, &QShortcut::activated, this, [this] {
        _searchField->setFocus(Qt::ShortcutFocusReason);
        _searchField->selectAll();
    });

    _actionsMenu = new QMenu(tr("Actions"), this);
    _actionsMenu->setStyle(MenuCheckStyle::forMenus());
    _selectBooksFolderAction = _actionsMenu->addAction(AppIcons::booksFolder(), tr("Select Books Folder"));
    _actionsMenu->addSeparator();
    _selectKindleAction =
        _actionsMenu->addAction(AppIcons::kindleExport(), tr("Select Kindle Notes Export (.html)"));
    _actionsMenu->addSeparator();
    _hideNoAnnotationsAction = _actionsMenu->addAction(tr("Hide Works with no Annotations"));
    // Shortcuts work from anywhere in the window and show in the menu.
    _selectBooksFolderAction->setShortcut(QKeySequence::Open);
    _selectKindleAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
    connect(_selectBooksFolderAction, &QAction::triggered, this, &ContentView::selectBooksFolder);
    connect(_selectKindleAction, &QAction::triggered, this, &ContentView::selectKindleNotesExport);
    connect(_hideNoAnnotationsAction, &QAction::triggered, this, &ContentView::toggleHideNoAnnotations);

    _actionsMenu->addSeparator();
    _selectClippingsAction = _actionsMenu->addAction(tr("Select Kindle Clippings (My Clippings.txt)"));
    _selectKoboAction = _actionsMenu->addAction(tr("Select Kobo Database (KoboReader.sqlite)"));
    connect(_selectClippingsAction, &QAction::triggered, this, &ContentView::selectKindleClippings);
    connect(_selectKoboAction, &QAction::triggered, this, &ContentView::selectKoboDatabase);

    _actionsMenu->addSeparator();
    _sortMenu = _actionsMenu->addMenu(tr("Sort"));
    _sortMenu->setStyle(MenuCheckStyle::forMenus());
    auto* sortGroup = new QActionGroup(this);
    const std::pair<const char*, AnnotationOrder::Order> orders[] = {
        {QT_TR_NOOP("Book Order"), AnnotationOrder::Order::Book},
        {QT_TR_NOOP("Date Highlighted"), AnnotationOrder::Order::Created},
        {QT_TR_NOOP("As Stored"), AnnotationOrder::Order::Stored}};
    for (const auto& [label, order] : orders) {
        QAction* action = _sortMenu->addAction(tr(label));
        action->setCheckable(true);
        sortGroup->addAction(action);
        _sortActions.push_back({action, order});
        connect(action, &QAction::triggered, this, [this, order = order] { setAnnotationOrder(order); });
    }
    _detailedExportAction = _actionsMenu->addAction(tr("Detailed Export"));
    _detailedExportAction->setCheckable(true);
    connect(_detailedExportAction, &QAction::toggled, this, &ContentView::setDetailedExport);
    _exportAllAction = _actionsMenu->addAction(tr("Export All Works\u2026"));
    _exportAllAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E));
    connect(_exportAllAction, &QAction::triggered, this, &ContentView::exportAllWorks);
    _actionsMenu->addSeparator();
    _library->addEntries(_actionsMenu);
    _actionsMenu->addSeparator();
    _findHighlightsAction = _actionsMenu->addAction(tr("Find Highlights on This Computer\u2026"));
    connect(_findHighlightsAction, &QAction::triggered, this, &ContentView::findHighlights);
    const std::pair<SourceKind, const char*> readers[] = {
        {SourceKind::Koreader, QT_TR_NOOP("Select KOReader Folder\u2026")},
        {SourceKind::Foliate, QT_TR_NOOP("Select Foliate Folder\u2026")},
        {SourceKind::Calibre, QT_TR_NOOP("Select calibre Library\u2026")}};
    for (const auto& [kind, label] : readers) {
        QAction* action = _actionsMenu->addAction(tr(label));
        _readerActions.emplace_back(kind, action);
        connect(action, &QAction::triggered, this, [this, kind = kind, action] {
            static const std::map<SourceKind, const char*> messages{
                {SourceKind::Koreader,
                 QT_TR_NOOP("Choose a folder with KOReader's sidecars: a book folder, a "
                            "mounted e-reader or KOReader's own folder")},
                {SourceKind::Foliate, QT_TR_NOOP("Choose Foliate's data folder "
                                                 "(~/.local/share/com.github.johnfactotum.Foliate)")},
                {SourceKind::Calibre, QT_TR_NOOP("Choose a calibre library folder (with metadata.db) or the "
                                                 "viewer's annotation folder")}};
            _presenter->presentFolderPanel(
                this, action->text().remove(QChar(0x2026)), tr(messages.at(kind)), QDir::homePath(),
                [this, kind](const PanelResult& result) { readerFolderFlow(kind, result); });
        });
    }
    _actionsMenu->addSeparator();
    _aboutAction = _actionsMenu->addAction(tr("About Notara"));
    _aboutAction->setMenuRole(QAction::AboutRole);
    connect(_aboutAction, &QAction::triggered, this, &ContentView::showAbout);

    addActions(_actionsMenu->actions()); // their shortcuts, without opening the menu
    _actionsButton = new QToolButton(toolBar);
    _actionsButton->setText(tr("Actions"));
    _actionsButton->setIcon(AppIcons::actions());
    _actionsButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    _actionsButton->setPopupMode(QToolButton::InstantPopup);
    _actionsButton->setAutoRaise(true);
    _actionsButton->setMenu(_actionsMenu);
    toolBar->addWidget(_actionsButton);
    layout->addWidget(toolBar);

    // Which list is shown: the Books library, an import, or the reader's whole library.
    _listTitle = new QLabel(_sidebar);
    _listTitle->setTextFormat(Qt::PlainText);
    QFont titleFont = _listTitle->font();
    titleFont.setBold(true);
    _listTitle->setFont(titleFont);
    _listTitle->setForegroundRole(QPalette::WindowText);
    const int titleMargin = style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
    _listTitle->setContentsMargins(titleMargin, titleMargin / 2, titleMargin, titleMargin / 2);
    _listTitle->setAccessibleName(tr("Shown list"));
    _listTitle->hide();
    layout->addWidget(_listTitle);
    _sidebarPages = new QStackedWidget(_sidebar);
    _workList = new QListView(_sidebarPages);
    _workList->setAccessibleName(tr("Books"));
    _workListModel = new WorkListModel(_dataManager, _workList);
    _workList->setModel(_workListModel);
    _workList->setItemDelegate(new WorkRowDelegate(_workList));
    _workList->setUniformItemSizes(true);
    _workList->setSelectionMode(QAbstractItemView::SingleSelection);
    _workList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    _workList->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    _workList->installEventFilter(this);
    _emptyListLabel = new QLabel(nothingLoadedText(), _sidebarPages);
    _emptyListLabel->setWordWrap(true);
    _emptyListLabel->setAlignment(Qt::AlignCenter);
    _emptyListLabel->setForegroundRole(QPalette::PlaceholderText);
    _emptyListLabel->setMargin(12);
    _sidebarPages->addWidget(_workList);
    _sidebarPages->addWidget(_emptyListLabel);
    layout->addWidget(_sidebarPages, 1);

    connect(_workListModel, &QAbstractItemModel::modelAboutToBeReset, this,
            [this] { _syncingSelection = true; });
    connect(_workListModel, &WorkListModel::refreshed, this, &ContentView::restoreListSelection);
    connect(_workList->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (_syncingSelection) return;
        const QModelIndexList rows = _workList->selectionModel()->selectedRows();
        if (rows.isEmpty())
            setSelectedWorkID(std::nullopt);
        else
            setSelectedWorkID(rows.first().data(WorkListModel::WorkIDRole).toUuid());
    });
    // A row that stayed marked after an import or a reload shows its work again when clicked.
    connect(_workList, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        const std::shared_ptr<Work> work = _workListModel->workAt(index.row());
        if (work && _selectedWorkID == work->id && _selectedWork != work) setSelectedWork(work);
    });

    _hidingCaption = new QLabel(tr("Hiding Works with no Annotations"), _sidebar);
    _hidingCaption->setTextFormat(Qt::PlainText);
    const int margin = style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
    _hidingCaption->setContentsMargins(margin, margin, margin, margin);
    layout->addWidget(_hidingCaption);
}

bool ContentView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == _searchField && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && !_searchField->text().isEmpty()) {
        _searchField->clear();
        return true;
    }
    // Tabbing into the list makes its first row current without selecting it, so the first
    // arrow key would skip it (or, with one book, do nothing): it selects the current row instead.
    if (watched == _workList && event->type() == QEvent::KeyPress &&
        !_workList->selectionModel()->hasSelection() && _workList->currentIndex().isValid()) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Down || key == Qt::Key_Up) {
            _workList->selectionModel()->select(_workList->currentIndex(),
                                                QItemSelectionModel::ClearAndSelect);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void ContentView::showAbout() {
    if (!_aboutDialog) _aboutDialog = new AboutDialog(this);
    _aboutDialog->show();
    _aboutDialog->raise();
    _aboutDialog->activateWindow();
}

void ContentView::saveWindowState() const {
    QSettings settings;
    settings.setValue(kGeometryKey, saveGeometry());
    settings.setValue(kSplitterKey, _splitter->saveState());
}

void ContentView::closeEvent(QCloseEvent* event) {
    saveWindowState();
    QMainWindow::closeEvent(event);
}

void ContentView::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // The command line may have added to the library meanwhile.
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) _library->reloadIfChanged();
}

void ContentView::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (_launchRestoreDone) return;
    _deviceTimer->start();
    QTimer::singleShot(0, this, &ContentView::lookForDevicesAside);
    _launchRestoreDone = true;
    // After the first paint, so the window is on screen while the databases load.
    QTimer::singleShot(0, this, &ContentView::launchRestore);
}

void ContentView::launchRestore() {
    WaitCursor wait;
    const auto library = corvane::FSSandboxBookmarking::resolveBookmark(BooksFolder::libraryBookmarkKey);
    const auto annotation =
        corvane::FSSandboxBookmarking::resolveBookmark(BooksFolder::annotationBookmarkKey);
    if (library && annotation) {
        SQLFilePairing pairing;
        pairing.annotationSQLFile = *annotation;
        pairing.librarySQLFile = *library;
        const bool loaded = _dataManager.loadDatabases(pairing);
        setListName(tr("Apple Books"));
        applyHideRule();
        reportBooksLoad(loaded, corvane::FSSandboxBookmarking::storedPath(BooksFolder::folderBookmarkKey));
        if (QSettings().value(LibraryActions::kShowAllKey, false).toBool()) _library->showAllHighlights();
        return;
    }
    applyHideRule();
    if (QSettings().value(LibraryActions::kShowAllKey, false).toBool()) _library->showAllHighlights();
    // Databases were chosen once but are not where they were.
    using corvane::FSSandboxBookmarking;
    if (FSSandboxBookmarking::storedPath(BooksFolder::libraryBookmarkKey) ||
        FSSandboxBookmarking::storedPath(BooksFolder::annotationBookmarkKey)) {
        const auto folder = FSSandboxBookmarking::storedPath(BooksFolder::folderBookmarkKey);
        const QString where =
            folder ? QStringLiteral(" (") + QString::fromStdString(folder->native()) + ')' : QString();
        _messageBar->showMessage(tr("The Books databases of the folder chosen on %1%2 are gone: they were "
                                    "moved or deleted. Choose \"Select Books Folder\" to load them again.")
                                     .arg(_lastSelectediBooksDate, where),
                                 tr("Select Books Folder"), [this] { selectBooksFolder(); });
    }
}

void ContentView::reportBooksLoad(bool loaded, const std::optional<std::filesystem::path>& folder) {
    if (!loaded) {
        if (!_dataManager.lastLoadProblem().empty())
            _messageBar->showMessage(MessageBar::Kind::Error,
                                     QString::fromStdString(_dataManager.lastLoadProblem()));
        return;
    }
    if (_dataManager.works().empty()) {
        _messageBar->showMessage(
            MessageBar::Kind::Information,
            folder ? tr("The Books library in %1 holds no books, so there is nothing to show.")
                         .arg(QString::fromStdString(folder->native()))
                   : tr("The Books library holds no books, so there is nothing to show."));
    }
    // The most useful word comes last: the newest message is the one shown.
    if (_dataManager.recentHighlightsMayBeMissing())
        _messageBar->showMessage(MessageBar::Kind::Warning,
                                 CoreTexts::translated(DataManager::missingLogMessage),
                                 tr("Select Books Folder"), [this] { selectBooksFolder(); });
}

void ContentView::selectBooksFolder() {
    if (_selectiBooksDirectoryPresenting) return;
    _selectiBooksDirectoryPresenting = true;
    _presenter->presentFolderPanel(this, tr("Select Books Folder"), booksFolderMessage(),
                                   booksFolderPanelStart(), [this](const PanelResult& result) {
                                       _selectiBooksDirectoryPresenting = false;
                                       booksFolderFlow(result);
                                   });
}

void ContentView::booksFolderFlow(const PanelResult& result) {
    if (!chosen(result)) return;
    // Linux has no security-scoped access to open: a folder the user chose is readable or not.
    WaitCursor wait;
    _messageBar->dismiss(); // what the last load said is not true of this one
    const std::filesystem::path folder = toPath(result.path);
    const BooksFolder::Choice choice = BooksFolder::choose(folder, BooksFolder::Remember::Yes);
    bool loaded = false;
    _iBooksAlertText = CoreTexts::translated(choice.missingText());

    if (!_iBooksAlertText.isEmpty()) {
        _showiBooksAlert = true;
    } else {
        setLastSelectediBooksDate(QString::fromStdString(corvane::Corvane::dateNow()));
        loaded = _dataManager.loadDatabases(choice.pairing);
    }
    setSelectedWork(nullptr);
    _library->leaveAllHighlights(); // the list shows what was just loaded
    if (loaded) setListName(tr("Apple Books"));
    applyHideRule();
    if (_iBooksAlertText.isEmpty()) reportBooksLoad(loaded, folder);
    if (loaded) _library->keep(BooksSource::describe(_dataManager, folder));

    if (_showiBooksAlert)
        _presenter->presentAlert(this, tr("Alert!"), _iBooksAlertText, [this] { _showiBooksAlert = false; });
}

void ContentView::selectKindleNotesExport() {
    if (_selectKindlePresenting) return;
    _selectKindlePresenting = true;
    _presenter->presentHtmlFilePanel(this, tr("Select Kindle Notes Export (.html)"), kindlePanelStart(),
                                     [this](const PanelResult& result) {
                                         _selectKindlePresenting = false;
                                         kindleImportFlow(result);
                                     });
}

void ContentView::kindleImportFlow(const PanelResult& result) {
    if (!chosen(result)) return;
    WaitCursor wait;
    _kindleDataManager.fileURL = toPath(result.path);
    // The imported work replaces the list only; the Books works stay loaded underneath, and
    // the next filter change or Books folder flow lists them again.
    std::string problem;
    _library->leaveAllHighlights();
    _dataManager.setFilteredWorks(_kindleDataManager.parseWorks(&problem));
    setSelectedWork(nullptr);
    if (_dataManager.filteredWorks().empty()) {
        // The list is the failed notebook's, not the Books library's (which the filter says nothing of).
        _listName = tr("Kindle notebook");
        _failedImport = QFileInfo(result.path).fileName();
        showFirstLaunchState();
        reportImportFailure(result.path, QString::fromStdString(problem));
    } else {
        _messageBar->dismiss();
        setListName(tr("Kindle notebook"));
        _library->keep(KindleNotebookSource::describe(_dataManager.filteredWorks(), toPath(result.path)));
    }
}

void ContentView::reportImportFailure(const QString& path, const QString& problem) {
    _messageBar->showMessage(MessageBar::Kind::Error,
                             tr("\"%1\" could not be imported. %2 \"Select Books Folder\" or the \"Hide "
                                "Works with no Annotations\" filter brings the library back.")
                                 .arg(QFileInfo(path).fileName(), problem),
                             tr("Show Library"), [this] { applyHideRule(); });
}

QString ContentView::devicePanelStart(EReaderDevice::Kind kind) const {
    for (const EReaderDevice& device : _devices) {
        if (device.kind == kind) return QString::fromStdString(device.annotationsFile.parent_path().native());
    }
    return kindlePanelStart();
}

void ContentView::selectKindleClippings() {
    selectDeviceFile(tr("Select Kindle Clippings"), EReaderDevice::Kind::Kindle,
                     {tr("Kindle clippings (*.txt)"), tr("All files (*)")},
                     &ContentView::clippingsImportFlow);
}

void ContentView::selectKoboDatabase() {
    selectDeviceFile(tr("Select Kobo Database"), EReaderDevice::Kind::Kobo,
                     {tr("Kobo database (KoboReader.sqlite *.sqlite)"), tr("All files (*)")},
                     &ContentView::koboImportFlow);
}

void ContentView::selectDeviceFile(const QString& title, EReaderDevice::Kind kind, const QStringList& filters,
                                   void (ContentView::*flow)(const PanelResult&)) {
    if (_selectDeviceFilePresenting) return;
    _selectDeviceFilePresenting = true;
    _presenter->presentFilePanel(this, title, devicePanelStart(kind), filters,
                                 [this, flow](const PanelResult& result) {
                                     _selectDeviceFilePresenting = false;
                                     (this->*flow)(result);
                                 });
}

void ContentView::clippingsImportFlow(const PanelResult& result) {
    importSource(SourceKind::Clippings, result);
}

void ContentView::koboImportFlow(const PanelResult& result) {
    // The device's file is copied first, like the Books stores, and only the copy is opened.
    importSource(SourceKind::Kobo, result);
}

QAction* ContentView::selectReaderAction(SourceKind kind) const {
    for (const auto& [readerKind, action] : _readerActions)
        if (readerKind == kind) return action;
    return nullptr;
}

void ContentView::readerFolderFlow(SourceKind kind, const PanelResult& result) {
    importSource(kind, result);
}

void ContentView::findHighlights() {
    if (_scanDialog) return;
    std::vector<Scan::Found> found;
    {
        WaitCursor wait;
        found = Scan::run(_scanPlaces ? *_scanPlaces : Scan::Places::ofThisUser());
    }
    _scanDialog = new ScanDialog(std::move(found), this);
    _scanDialog->setAttribute(Qt::WA_DeleteOnClose);
    _scanDialog->setWindowModality(Qt::WindowModal);
    connect(_scanDialog, &QDialog::finished, this, [this](int code) {
        const std::vector<Scan::Found> chosen =
            code == QDialog::Accepted ? _scanDialog->ticked() : std::vector<Scan::Found>{};
        _scanDialog = nullptr;
        // After the dialog has closed, as with every panel.
        QMetaObject::invokeMethod(
            this, [this, chosen] { importFound(chosen); }, Qt::QueuedConnection);
    });
    _scanDialog->open();
}

void ContentView::importFound(const std::vector<Scan::Found>& found) {
    if (found.empty()) return;
    WaitCursor wait;
    std::vector<std::shared_ptr<Work>> works;
    std::size_t highlights = 0;
    QStringList failed;
    for (const Scan::Found& entry : found) {
        SourceRead read = Sources::read(entry.kind, entry.place);
        if (!read.ok()) {
            failed << DisplayPath::homeAsTilde(QString::fromStdString(entry.place.native())) +
                          QStringLiteral(": ") + QString::fromStdString(read.problem);
            continue;
        }
        for (const auto& work : read.works)
            highlights += work->annotations.size();
        works.insert(works.end(), read.works.begin(), read.works.end());
        _library->keep(std::move(read));
    }
    _library->leaveAllHighlights();
    std::stable_sort(works.begin(), works.end(),
                     [](const auto& a, const auto& b) { return a->workTitle < b->workTitle; });
    const QString summary =
        tr("%1 found on this computer").arg(ScanDialog::booksAndHighlights(works.size(), highlights));
    if (works.empty()) {
        _messageBar->showMessage(MessageBar::Kind::Error,
                                 tr("Nothing could be imported. %1").arg(failed.join(QLatin1Char(' '))));
        return;
    }
    setListName(tr("Found on This Computer"));
    _dataManager.setFilteredWorks(std::move(works));
    setSelectedWork(nullptr);
    if (failed.isEmpty())
        _messageBar->showMessage(MessageBar::Kind::Information, summary);
    else
        _messageBar->showMessage(MessageBar::Kind::Warning,
                                 tr("%1. Not imported: %2").arg(summary, failed.join(QLatin1Char(' '))));
}

void ContentView::importSource(SourceKind kind, const PanelResult& result) {
    if (!chosen(result)) return;
    WaitCursor wait;
    SourceRead read = Sources::read(kind, toPath(result.path));
    if (read.ok()) {
        _messageBar->dismiss();
        _library->leaveAllHighlights();
        setListName(CoreTexts::sourceName(kind));
    }
    showImportedWorks(read.works, result.path, read.problem);
    _library->keep(std::move(read));
}

void ContentView::showImportedWorks(std::vector<std::shared_ptr<Work>> works, const QString& path,
                                    const std::string& problem) {
    if (works.empty()) {
        reportImportFailure(path, QString::fromStdString(problem));
        return;
    }
    const QString summary = importSummary(works, QFileInfo(path).fileName());
    // Like a notebook import, the works replace the list only; the Books works stay loaded.
    _dataManager.setFilteredWorks(std::move(works));
    setSelectedWork(nullptr);
    _messageBar->showMessage(MessageBar::Kind::Information, summary);
}

void ContentView::lookForDevices() {
    offerDevices(EReaderDevice::find(_mountPoints ? _mountPoints() : std::vector<std::filesystem::path>{}));
}

void ContentView::lookForDevicesAside() {
    // Listing the volumes asks the kernel about every mount, and a network mount that stopped
    // answering would hold the window: the look runs on a thread of its own, one at a time.
    if (_deviceLooker.joinable()) {
        if (!_deviceLookDone) return; // the previous look is still waiting
        _deviceLooker.join();
    }
    _deviceLookDone = false;
    _deviceLooker = std::thread([this, mountPoints = _mountPoints, generation = _mountPointsGeneration] {
        auto found = EReaderDevice::find(mountPoints ? mountPoints() : std::vector<std::filesystem::path>{});
        // The destructor joins this thread, so the window is still there to be told.
        QMetaObject::invokeMethod(
            this,
            [this, found = std::move(found), generation] {
                _deviceLookDone = true;
                if (generation == _mountPointsGeneration) offerDevices(found);
            },
            Qt::QueuedConnection);
    });
}

void ContentView::offerDevices(const std::vector<EReaderDevice>& found) {
    for (const EReaderDevice& device : found) {
        if (std::find(_devices.begin(), _devices.end(), device) != _devices.end()) continue;
        // Offered, never read: the user's click starts the import.
        const QString file = QString::fromStdString(device.annotationsFile.native());
        const bool kindle = device.kind == EReaderDevice::Kind::Kindle;
        _messageBar->showMessage(MessageBar::Kind::Information,
                                 tr("%1 connected:").arg(QString::fromLatin1(device.name())),
                                 tr("Import Highlights"), [this, file, kindle] {
                                     if (kindle)
                                         clippingsImportFlow(PanelResult::chosen(file));
                                     else
                                         koboImportFlow(PanelResult::chosen(file));
                                 });
    }
    _devices = found;
}

void ContentView::setAnnotationOrder(AnnotationOrder::Order order) {
    _annotationOrder = order;
    for (const auto& [action, value] : _sortActions)
        action->setChecked(value == order);
    _detailView->setAnnotationOrder(order);
    const QString name = QString::fromLatin1(AnnotationOrder::name(order));
    if (QSettings().value(kOrderKey).toString() != name) QSettings().setValue(kOrderKey, name);
}

void ContentView::setDetailedExport(bool detailed) {
    _detailedExportAction->setChecked(detailed);
    _detailView->setDetailedExport(detailed);
    QSettings().setValue(kDetailedExportKey, detailed);
}

void ContentView::exportAllWorks() {
    if (_exportAllPresenting) return;
    _exportAllPresenting = true;
    _presenter->presentFolderPanel(this, tr("Export All Works"),
                                   tr("Choose the folder for one Markdown file per work"), kindlePanelStart(),
                                   [this](const PanelResult& result) {
                                       _exportAllPresenting = false;
                                       if (chosen(result)) exportAllWorksTo(result.path);
                                   });
}

void ContentView::exportAllWorksTo(const QString& folder) {
    BulkExport run(_dataManager.filteredWorks(), toPath(folder), corvane::Corvane::dateNow(),
                   {_annotationOrder, _detailedExportAction->isChecked()});
    QProgressDialog progress(tr("Exporting annotations\u2026"), tr("Cancel"), 0,
                             static_cast<int>(run.total()), this);
    progress.setWindowTitle(tr("Export All Works"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    _exportProgress = &progress;
    progress.setValue(0); // on screen from the first file
    QCoreApplication::processEvents();
    std::string problem;
    size_t failed = 0;
    QElapsedTimer sinceRepaint;
    sinceRepaint.start();
    while (!run.finished() && !progress.wasCanceled()) {
        if (!run.writeNext()) {
            ++failed;
            problem = run.lastProblem();
        }
        emit exportAllProgressed(static_cast<int>(run.done()));
        // A file at a time, with the window repainted often enough to stay alive.
        if (sinceRepaint.elapsed() >= 30 || run.finished()) {
            progress.setValue(static_cast<int>(run.done()));
            progress.setLabelText(
                tr("Exporting annotations\u2026 %1 of %2").arg(run.done()).arg(run.total()));
            QCoreApplication::processEvents();
            sinceRepaint.restart();
        }
    }
    const bool cancelled = progress.wasCanceled() && !run.finished();
    // The disk catches up off the window's thread, so the window keeps painting meanwhile.
    progress.setLabelText(tr("Saving to disk\u2026"));
    progress.setRange(0, 0); // a busy bar: it moves while the disk works
    std::atomic<bool> synced = false;
    std::thread syncing([&] {
        run.sync();
        synced = true;
    });
    while (!synced)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    syncing.join();
    _exportProgress = nullptr;
    progress.close();

    const QString files =
        run.written() == 1 ? tr("1 Markdown file") : tr("%1 Markdown files").arg(run.written());
    QString message = tr("%1 written to %2").arg(files, DisplayPath::homeAsTilde(folder));
    if (cancelled) message += tr(" (cancelled after %1 of %2)").arg(run.done()).arg(run.total());
    QString details = tr("Each work with annotations has its own file, named like the single export.");
    if (failed > 0)
        details =
            tr("%1 could not be written: %2").arg(QString::number(failed), QString::fromStdString(problem));
    _presenter->presentAlertWithAction(
        this, QStringLiteral("Notara"), message, details, tr("Show in Folder"),
        [this, folder] { showFolder(folder); }, [] {});
}

void ContentView::showFolder(const QString& folder) {
    if (!FileManager::openFolder(folder))
        _messageBar->showMessage(MessageBar::Kind::Error, FileManager::notShownText(folder));
}

void ContentView::toggleHideNoAnnotations() {
    setHideNoAnnotations(!_hideNoAnnotations);
}

void ContentView::setHideNoAnnotations(bool hide) {
    if (hide == _hideNoAnnotations) return;
    _hideNoAnnotations = hide;
    showHideState();
    applyHideRule();
}

void ContentView::showHideState() {
    _hidingCaption->setVisible(_hideNoAnnotations);
    _hideNoAnnotationsAction->setIcon(_hideNoAnnotations ? AppIcons::checkmark() : QIcon());
}

void ContentView::applyHideRule() {
    // The filter applies to what is listed: the library while it is shown, else the Books works.
    if (_library->showingAllHighlights()) {
        _library->relist();
    } else {
        if (!_dataManager.works().empty()) _listName = tr("Apple Books");
        _failedImport.clear();
        _dataManager.applyHideRule(_hideNoAnnotations);
    }
    showFirstLaunchState();
}

void ContentView::setSelectedWorkID(const std::optional<QUuid>& id) {
    if (id == _selectedWorkID) return;
    _selectedWorkID = id;
    if (!id) return;
    for (const std::shared_ptr<Work>& work : _dataManager.filteredWorks()) {
        if (work->id == *id) {
            setSelectedWork(work);
            return;
        }
    }
}

void ContentView::setSelectedWork(std::shared_ptr<Work> work) {
    _selectedWork = std::move(work);
    static const std::span<const Annotation* const> none;
    const auto* matches = _workListModel->matchesOf(_selectedWork.get());
    _detailView->setSearch(_workListModel->searching() ? (matches ? matches : &none) : nullptr,
                           _searchField->text());
    // A work the search left out of the list is not shown (nor offered for export) until the
    // search lets it back in; the selection is kept for then.
    const bool leftOut =
        _selectedWork && _workListModel->searching() && _workListModel->rowOfWork(_selectedWork->id) < 0;
    _detailView->setSelectedWork(leftOut ? nullptr : _selectedWork);
}

void ContentView::runSearch() {
    const QString query = _searchField->text();
    if (query.trimmed().isEmpty()) {
        if (!_workListModel->searching()) return;
        _workListModel->clearSearch();
        setSelectedWork(_selectedWork);
        showFirstLaunchState();
        return;
    }
    // The index covers what the list shows, and is built again only when that changes.
    if (_dataManager.filteredWorks() != _indexedWorks) {
        indexListedWorks();
        if (_dataManager.filteredWorks() != _indexedWorks) return; // answered once it is built
    }
    _workListModel->showSearch(searchMatches(query.toStdString()));
    setSelectedWork(_selectedWork);
    showFirstLaunchState();
}

SearchIndex::Matches ContentView::searchMatches(const std::string& query) const {
    // The reader's marks (tag:NAME, is:favourite) narrow what the words find.
    const LibrarySearch::Query parsed = LibrarySearch::parse(query);
    if (!parsed.hasMarks()) return _searchIndex->search(query);
    const bool anyText = parsed.text.find_first_not_of(' ') != std::string::npos;
    SearchIndex::Matches found = anyText ? _searchIndex->search(parsed.text) : SearchIndex::Matches{};
    std::vector<std::pair<WorkPtr, std::vector<const Annotation*>>> kept;
    if (anyText) {
        for (const auto& result : found) {
            std::vector<const Annotation*> marked;
            for (const Annotation* a : result.annotations)
                if (LibrarySearch::matchesMarks(*a, parsed)) marked.push_back(a);
            if (!marked.empty()) kept.emplace_back(result.work, std::move(marked));
        }
    } else {
        for (const WorkPtr& work : _dataManager.filteredWorks()) {
            std::vector<const Annotation*> marked;
            for (const AnnotationPtr& a : work->annotations)
                if (LibrarySearch::matchesMarks(*a, parsed)) marked.push_back(a.get());
            if (!marked.empty()) kept.emplace_back(work, std::move(marked));
        }
    }
    SearchIndex::Matches matches;
    std::size_t total = 0;
    for (const auto& [work, list] : kept)
        total += list.size();
    matches.annotations.reserve(total); // the spans below point into it
    for (const auto& [work, list] : kept) {
        const std::size_t first = matches.annotations.size();
        matches.annotations.insert(matches.annotations.end(), list.begin(), list.end());
        matches.results.push_back(
            {work, std::span<const Annotation* const>(matches.annotations.data() + first, list.size())});
    }
    return matches;
}

void ContentView::indexListedWorks() {
    const auto& listed = _dataManager.filteredWorks();
    if (listed == _indexedWorks || listed == _indexingWorks) return;
    std::size_t annotations = 0;
    for (const auto& work : listed)
        annotations += work->annotations.size();
    // A small list is indexed in a few milliseconds: at once, on this thread.
    if (annotations < 20000 && !_indexer.joinable()) {
        auto index = std::make_shared<SearchIndex>();
        index->build(listed);
        _searchIndex = std::move(index);
        _indexedWorks = listed;
        return;
    }
    if (_indexer.joinable()) return; // the newest list is taken up when the running build ends
    _indexingWorks = listed;
    _indexer = std::thread([this, works = listed] {
        auto index = std::make_shared<SearchIndex>();
        index->build(works);
        // The destructor joins this thread, so the window is still there to be told.
        QMetaObject::invokeMethod(
            this, [this, works, index] { searchIndexBuilt(works, index); }, Qt::QueuedConnection);
    });
}

void ContentView::searchIndexBuilt(std::vector<std::shared_ptr<Work>> works,
                                   std::shared_ptr<SearchIndex> index) {
    _indexer.join();
    _indexingWorks.clear();
    _searchIndex = std::move(index);
    _indexedWorks = std::move(works);
    if (_dataManager.filteredWorks() != _indexedWorks) indexListedWorks(); // the list changed meanwhile
    if (!_searchField->text().trimmed().isEmpty()) runSearch();
}

void ContentView::setLastSelectediBooksDate(const QString& date) {
    _lastSelectediBooksDate = date;
    QSettings().setValue(kLastSelectKey, date);
}

void ContentView::restoreListSelection() {
    // The list keeps marking the row of selectedWorkID while that work is listed.
    _syncingSelection = true;
    const int row = _selectedWorkID ? _workListModel->rowOfWork(*_selectedWorkID) : -1;
    if (row >= 0)
        _workList->selectionModel()->setCurrentIndex(_workListModel->index(row),
                                                     QItemSelectionModel::ClearAndSelect);
    else
        _workList->selectionModel()->clearSelection();
    _syncingSelection = false;
}

} // namespace notara
