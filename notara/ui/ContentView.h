#pragma once

#include "notara/core/model/AnnotationOrder.h"
#include "notara/core/search/SearchIndex.h"
#include "notara/core/sources/EReaderDevice.h"
#include "notara/core/sources/Scan.h"
#include "notara/core/sources/SourceKind.h"
#include "notara/core/sources/kindle/KindleNotesParser.h"
#include "notara/ui/PanelPresenter.h"

#include <QMainWindow>
#include <QUuid>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

class QAction;
class QLabel;
class QListView;
class QMenu;
class QLineEdit;
class QProgressDialog;
class QTimer;
class QSplitter;
class QStackedWidget;
class QToolButton;

namespace notara {

class DataManager;
class LibraryActions;
class MessageBar;
class WelcomePanel;
class Work;
class WorkDetailView;
class WorkListModel;

// The main window: the list of works in the sidebar, the selected work in the detail column,
// and the flows that change what the list shows.
class ContentView : public QMainWindow {
    Q_OBJECT

public:
    static constexpr int kSidebarWidth = 300;
    static inline const QString kLastSelectKey = QStringLiteral("iBooks Directory-Last Select");
    static inline const QString kOrderKey = QStringLiteral("Annotation Order");
    static inline const QString kDetailedExportKey = QStringLiteral("Detailed Export");
    static inline const QString kGeometryKey = QStringLiteral("Window Geometry");
    static inline const QString kSplitterKey = QStringLiteral("Window Splitter");

    // `presenter` answers the panels and message boxes; the real one uses QFileDialog/QMessageBox.
    explicit ContentView(DataManager& dataManager, std::unique_ptr<PanelPresenter> presenter = nullptr,
                         QWidget* parent = nullptr);
    ~ContentView() override;

    // View state.
    DataManager& dataManager() const { return _dataManager; }
    KindleNotesParser& kindleDataManager() { return _kindleDataManager; }
    const QString& lastSelectediBooksDate() const { return _lastSelectediBooksDate; }
    bool selectiBooksDirectoryPresenting() const { return _selectiBooksDirectoryPresenting; }
    bool selectKindlePresenting() const { return _selectKindlePresenting; }
    bool showiBooksAlert() const { return _showiBooksAlert; }
    const QString& iBooksAlertText() const { return _iBooksAlertText; }
    bool hideNoAnnotations() const { return _hideNoAnnotations; }
    const std::optional<QUuid>& selectedWorkID() const { return _selectedWorkID; }
    const std::shared_ptr<Work>& selectedWork() const { return _selectedWork; }

    // Flows.
    void launchRestore();
    void booksFolderFlow(const PanelResult& result);
    void kindleImportFlow(const PanelResult& result);
    // A Kindle's My Clippings.txt and a Kobo's KoboReader.sqlite: many works, which replace
    // the list's content as a notebook import does; the message bar says what was read.
    void clippingsImportFlow(const PanelResult& result);
    void koboImportFlow(const PanelResult& result);
    // The Linux readers' folders (KOReader's sidecars, Foliate's data, a calibre library).
    void readerFolderFlow(SourceKind kind, const PanelResult& result);
    // "Find Highlights on This Computer…": looks in the readers' known places and offers what it
    // found; the ticked entries are imported as one list and kept in the library.
    void findHighlights();
    void importFound(const std::vector<Scan::Found>& found);
    void setScanPlaces(Scan::Places places) { _scanPlaces = std::move(places); }
    class ScanDialog* scanDialog() const {
        return _scanDialog;
    }
    QAction* findHighlightsAction() const { return _findHighlightsAction; }
    QAction* selectReaderAction(SourceKind kind) const;
    void setHideNoAnnotations(bool hide);
    void setSelectedWorkID(const std::optional<QUuid>& id);
    // Imports the small Kindle notebook shipped with the application.
    void openSampleNotebook();

    // The "Actions" menu entries.
    void selectBooksFolder();
    void selectKindleNotesExport();
    void selectKindleClippings();
    void selectKoboDatabase();
    void toggleHideNoAnnotations();
    void setAnnotationOrder(AnnotationOrder::Order order);
    AnnotationOrder::Order annotationOrder() const { return _annotationOrder; }
    void setDetailedExport(bool detailed);
    // Answers the search field: the list and the cards show only what matches.
    void runSearch();
    // "Export All Works…": a folder panel, then exportAllWorksTo.
    void exportAllWorks();
    // One file per listed work with annotations, with a progress dialog that can be cancelled.
    void exportAllWorksTo(const QString& folder);
    // "Show in Folder" of the export alerts; says so when no file manager opened it.
    void showFolder(const QString& folder);
    // "About Notara": one box, shown again when asked again.
    void showAbout();
    class AboutDialog* aboutDialog() const {
        return _aboutDialog;
    }
    // The size, place and splitter of the window, for the next launch.
    void saveWindowState() const;
    // The progress dialog while an export of all works runs, else null.
    QProgressDialog* exportProgress() const { return _exportProgress; }

    // Widgets, for tests and for the detail column.
    QToolButton* actionsButton() const { return _actionsButton; }
    QMenu* actionsMenu() const { return _actionsMenu; }
    QAction* selectBooksFolderAction() const { return _selectBooksFolderAction; }
    QAction* selectKindleAction() const { return _selectKindleAction; }
    QAction* selectClippingsAction() const { return _selectClippingsAction; }
    QAction* selectKoboAction() const { return _selectKoboAction; }
    QAction* hideNoAnnotationsAction() const { return _hideNoAnnotationsAction; }
    QMenu* sortMenu() const { return _sortMenu; }
    QAction* detailedExportAction() const { return _detailedExportAction; }
    QAction* exportAllAction() const { return _exportAllAction; }
    QAction* aboutAction() const { return _aboutAction; }
    QSplitter* splitter() const { return _splitter; }
    QListView* workList() const { return _workList; }
    WorkListModel* workListModel() const { return _workListModel; }
    QLabel* hidingCaption() const { return _hidingCaption; }
    WorkDetailView* detailView() const { return _detailView; }
    QWidget* sidebar() const { return _sidebar; }
    MessageBar* messageBar() const { return _messageBar; }
    QLineEdit* searchField() const { return _searchField; }
    WelcomePanel* welcomePanel() const { return _welcomePanel; }
    QLabel* emptyListLabel() const { return _emptyListLabel; }
    // The name of the list shown above it ("Apple Books", "All Highlights", …).
    QLabel* listTitle() const { return _listTitle; }
    void setListName(const QString& name);
    // The reader's library: its Actions entries, keeping imports, "All Highlights".
    LibraryActions* library() const { return _library; }
    bool showingFirstLaunchState() const;

    // E-readers on USB: where to look (the user's mounted volumes unless replaced, as tests
    // do), and a look now; a device not offered before is offered in the message bar. The
    // window looks when shown and then every few seconds, for a volume mounted meanwhile.
    using MountPoints = std::function<std::vector<std::filesystem::path>()>;
    void setMountPoints(MountPoints mountPoints) {
        _mountPoints = std::move(mountPoints);
        ++_mountPointsGeneration; // a look still running with the old ones is not offered
    }
    QTimer* deviceTimer() const { return _deviceTimer; }
    void lookForDevices();
    // The same on a thread of its own (the window's timer uses it); offered when it is done.
    void lookForDevicesAside();
    const std::vector<EReaderDevice>& connectedDevices() const { return _devices; }

signals:
    // After each work of an export of all works, with the number done.
    void exportAllProgressed(int done);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildSidebar();
    void applyHideRule();
    void setSelectedWork(std::shared_ptr<Work> work);
    void setLastSelectediBooksDate(const QString& date);
    void showHideState();
    void restoreListSelection();
    void showFirstLaunchState();
    // Tells the user, in the message bar, what a Books load did not say by itself.
    void reportBooksLoad(bool loaded, const std::optional<std::filesystem::path>& folder);
    // Lists works read from one file, or says in the message bar why nothing could be.
    void showImportedWorks(std::vector<std::shared_ptr<Work>> works, const QString& path,
                           const std::string& problem);
    void reportImportFailure(const QString& path, const QString& problem);
    // Reads the chosen file of an e-reader through its source and lists what it holds.
    void importSource(SourceKind kind, const PanelResult& result);
    // Where a file panel for `kind` starts: in the folder of such a device when one is mounted.
    QString devicePanelStart(EReaderDevice::Kind kind) const;
    // Offers each device in `found` not offered before, and remembers what is connected.
    void offerDevices(const std::vector<EReaderDevice>& found);
    // A file panel for an e-reader's file, whose choice goes to `flow`.
    void selectDeviceFile(const QString& title, EReaderDevice::Kind kind, const QStringList& filters,
                          void (ContentView::*flow)(const PanelResult&));

    DataManager& _dataManager;
    KindleNotesParser _kindleDataManager;
    QString _lastSelectediBooksDate;
    bool _selectiBooksDirectoryPresenting = false;
    bool _selectKindlePresenting = false;
    bool _showiBooksAlert = false;
    QString _iBooksAlertText;
    bool _hideNoAnnotations = true;
    std::optional<QUuid> _selectedWorkID;
    std::shared_ptr<Work> _selectedWork;

    std::unique_ptr<PanelPresenter> _presenter;
    bool _launchRestoreDone = false;
    bool _syncingSelection = false;

    QWidget* _sidebar = nullptr;
    QToolButton* _actionsButton = nullptr;
    QMenu* _actionsMenu = nullptr;
    QAction* _selectBooksFolderAction = nullptr;
    QAction* _selectKindleAction = nullptr;
    QAction* _selectClippingsAction = nullptr;
    QAction* _selectKoboAction = nullptr;
    bool _selectDeviceFilePresenting = false;
    MountPoints _mountPoints;
    std::vector<EReaderDevice> _devices;
    QTimer* _deviceTimer = nullptr;
    std::thread _deviceLooker;
    bool _deviceLookDone = true;
    std::uint64_t _mountPointsGeneration = 0;
    QAction* _hideNoAnnotationsAction = nullptr;
    QMenu* _sortMenu = nullptr;
    std::vector<std::pair<QAction*, AnnotationOrder::Order>> _sortActions;
    QAction* _detailedExportAction = nullptr;
    QAction* _exportAllAction = nullptr;
    QAction* _aboutAction = nullptr;
    class AboutDialog* _aboutDialog = nullptr;
    QSplitter* _splitter = nullptr;
    AnnotationOrder::Order _annotationOrder = AnnotationOrder::Order::Stored;
    bool _exportAllPresenting = false;
    QProgressDialog* _exportProgress = nullptr;
    QListView* _workList = nullptr;
    WorkListModel* _workListModel = nullptr;
    QLabel* _hidingCaption = nullptr;
    WorkDetailView* _detailView = nullptr;
    MessageBar* _messageBar = nullptr;
    QLineEdit* _searchField = nullptr;
    QTimer* _searchTimer = nullptr;
    // The index of what the list shows. A large list is indexed on a thread of its own as soon
    // as it is listed, so typing never waits for it; a query typed meanwhile is answered when
    // the index is ready.
    void indexListedWorks();
    SearchIndex::Matches searchMatches(const std::string& query) const;
    void searchIndexBuilt(std::vector<std::shared_ptr<Work>> works, std::shared_ptr<SearchIndex> index);
    std::shared_ptr<SearchIndex> _searchIndex = std::make_shared<SearchIndex>();
    std::vector<std::shared_ptr<Work>> _indexedWorks;
    std::vector<std::shared_ptr<Work>> _indexingWorks; // being indexed by _indexer
    std::thread _indexer;
    QStackedWidget* _detailPages = nullptr;
    QStackedWidget* _sidebarPages = nullptr;
    WelcomePanel* _welcomePanel = nullptr;
    QLabel* _emptyListLabel = nullptr;
    std::uint64_t _listObserver = 0;
    LibraryActions* _library = nullptr;
    QLabel* _listTitle = nullptr;
    QString _listName;
    QString _failedImport; // the file name while the list is that of a notebook that did not import
    QAction* _findHighlightsAction = nullptr;
    std::vector<std::pair<SourceKind, QAction*>> _readerActions;
    std::optional<Scan::Places> _scanPlaces;
    class ScanDialog* _scanDialog = nullptr;
};

} // namespace notara
