#pragma once

#include "notara/core/library/Library.h"
#include "notara/core/sources/Source.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

class QAction;
class QMenu;
class QWidget;

namespace notara {

class Annotation;
class DataManager;
class MessageBar;
class PanelPresenter;

// The window's side of the reader's library: the Actions entries ("Keep Imports in Library",
// "All Highlights", "Hide Removed", "Forget Source"), adding each import to the library on a
// thread of its own, listing the library, and the reader's marks on a card.
class LibraryActions : public QObject {
    Q_OBJECT

public:
    static inline const QString kKeepKey = QStringLiteral("Keep Imports in Library");
    static inline const QString kShowAllKey = QStringLiteral("Show All Highlights");
    static inline const QString kHideRemovedKey = QStringLiteral("Hide Removed");
    static inline const QString kSyncFolderKey = QStringLiteral("Sync Folder");
    static inline const QString kSyncTemplateKey = QStringLiteral("Sync Template");

    LibraryActions(QWidget& window, DataManager& dataManager, MessageBar& messageBar,
                   PanelPresenter& presenter);
    ~LibraryActions() override;

    // Appends the entries to `menu`.
    void addEntries(QMenu* menu);

    // Where the library lives (the data folder's unless a test says otherwise).
    void setLibraryFile(std::filesystem::path file) { _file = std::move(file); }
    const std::filesystem::path& libraryFile() const { return _file; }

    // After an import succeeded: kept in the library when the reader wants it, off the window's
    // thread. Each import waits for the one before.
    void keep(SourceRead read);
    bool adding() const { return _thread.joinable() && !_threadDone; }

    // Lists every kept work (after the hide rule) and remembers that it is shown.
    void showAllHighlights();
    bool showingAllHighlights() const { return _showing; }
    // Something else now fills the list (an import, a Books load).
    void leaveAllHighlights();
    // Lists the library again if it is shown (the hide rule or "Hide Removed" changed).
    void relist();
    // Lists it again if another process changed the file since it was read.
    void reloadIfChanged();
    bool hideNoAnnotations() const { return _hideNoAnnotations ? _hideNoAnnotations() : true; }
    void setHideRule(std::function<bool()> hideNoAnnotations) {
        _hideNoAnnotations = std::move(hideNoAnnotations);
    }

    // The reader's marks on one annotation of the library; false for one outside it.
    bool canMark(const Annotation& annotation) const;
    void toggleFavourite(const std::shared_ptr<Annotation>& annotation);
    void editTags(const std::shared_ptr<Annotation>& annotation);

    // Asks, naming how many highlights go, then forgets the source.
    void forgetSource(long long sourceID);

    // "Sync to Folder…": the library into the remembered notes folder (a folder panel the first
    // time), on a thread of its own with its progress in the status bar; "Change Sync Folder…".
    void syncToFolder();
    void changeSyncFolder();
    bool syncing() const { return _syncThread.joinable() && !_syncDone; }

    QAction* keepAction() const { return _keepAction; }
    QAction* allHighlightsAction() const { return _allAction; }
    QAction* hideRemovedAction() const { return _hideRemovedAction; }
    QMenu* forgetMenu() const { return _forgetMenu; }
    QAction* syncAction() const { return _syncAction; }
    QAction* changeSyncFolderAction() const { return _changeSyncFolderAction; }

signals:
    // A keep finished (with its counts, or a problem).
    void kept(const QString& message);
    // A sync finished: what it did, or why it could not.
    void synced(const QString& message);
    // The marks of an annotation shown on a card changed.
    void marksChanged();
    // The list now shows the library, or no longer does.
    void showingChanged(bool showing);

private:
    std::unique_ptr<Library> openLibrary();
    void startNextKeep();
    void fillForgetMenu();
    // The file's and its log's modification times, to tell whether another process wrote.
    std::pair<std::filesystem::file_time_type, std::filesystem::file_time_type> fileTimes() const;

    QWidget& _window;
    DataManager& _dataManager;
    MessageBar& _messageBar;
    PanelPresenter& _presenter;
    std::filesystem::path _file;
    std::function<bool()> _hideNoAnnotations;
    bool _showing = false;
    std::pair<std::filesystem::file_time_type, std::filesystem::file_time_type> _listedTimes;

    std::deque<SourceRead> _waiting;
    std::thread _thread;
    std::atomic<bool> _threadDone = true;
    std::atomic<bool> _closing = false;

    QAction* _keepAction = nullptr;
    QAction* _allAction = nullptr;
    QAction* _hideRemovedAction = nullptr;
    QMenu* _forgetMenu = nullptr;
    QAction* _syncAction = nullptr;
    QAction* _changeSyncFolderAction = nullptr;
    void startSync(const QString& folder);
    std::thread _syncThread;
    std::atomic<bool> _syncDone = true;
};

} // namespace notara
