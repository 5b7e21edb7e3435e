#include "notara/ui/LibraryActions.h"

#include "notara/core/export/NotesSync.h"
#include "notara/core/model/DataManager.h"
#include "notara/ui/FileManager.h"
#include "notara/ui/MessageBar.h"
#include "notara/ui/PanelPresenter.h"
#include "notara/ui/WaitCursor.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QMainWindow>
#include <QMenu>
#include <QSettings>
#include <QStatusBar>
#include <QUrl>

namespace notara {

namespace {

QString text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

// "3 new, 1 changed, …" in the reader's language.
QString countsText(const Library::Counts& counts) {
    return LibraryActions::tr("%1 new, %2 changed, %3 removed at source, %4 unchanged")
        .arg(counts.added)
        .arg(counts.changed)
        .arg(counts.removed)
        .arg(counts.unchanged);
}

// What a sync did, in the reader's language; the counts that are zero say nothing.
QString syncText(const NotesSync::Report& report) {
    if (report.filesWritten == 0 && report.editsKept == 0 && report.removed == 0)
        return LibraryActions::tr("Your notes folder is up to date: nothing changed.");
    QStringList parts;
    QString files = report.filesWritten == 1
                        ? LibraryActions::tr("1 file written")
                        : LibraryActions::tr("%1 files written").arg(report.filesWritten);
    if (report.newFiles > 0) files += LibraryActions::tr(" (%1 new)").arg(report.newFiles);
    parts << files;
    if (report.added > 0)
        parts << (report.added == 1 ? LibraryActions::tr("1 highlight added")
                                    : LibraryActions::tr("%1 highlights added").arg(report.added));
    if (report.editsKept > 0)
        parts << (report.editsKept == 1
                      ? LibraryActions::tr("kept 1 highlight you edited")
                      : LibraryActions::tr("kept %1 highlights you edited").arg(report.editsKept));
    if (report.removed > 0) parts << LibraryActions::tr("%1 marked removed at source").arg(report.removed);
    return parts.join(QStringLiteral(", "));
}

} // namespace

LibraryActions::LibraryActions(QWidget& window, DataManager& dataManager, MessageBar& messageBar,
                               PanelPresenter& presenter)
    : QObject(&window), _window(window), _dataManager(dataManager), _messageBar(messageBar),
      _presenter(presenter), _file(Library::defaultPath()) {
    QSettings settings;
    _keepAction = new QAction(tr("Keep Imports in Library"), this);
    _keepAction->setCheckable(true);
    _keepAction->setChecked(settings.value(kKeepKey, true).toBool());
    connect(_keepAction, &QAction::toggled, this, [](bool on) { QSettings().setValue(kKeepKey, on); });

    _allAction = new QAction(tr("All Highlights"), this);
    _allAction->setCheckable(true);
    connect(_allAction, &QAction::triggered, this, [this](bool on) {
        if (on)
            showAllHighlights();
        else
            leaveAllHighlights();
    });

    _hideRemovedAction = new QAction(tr("Hide Removed"), this);
    _hideRemovedAction->setCheckable(true);
    _hideRemovedAction->setChecked(settings.value(kHideRemovedKey, false).toBool());
    connect(_hideRemovedAction, &QAction::toggled, this, [this](bool on) {
        QSettings().setValue(kHideRemovedKey, on);
        relist();
    });
}

LibraryActions::~LibraryActions() {
    _closing = true; // an add still running is rolled back
    if (_thread.joinable()) _thread.join();
    if (_syncThread.joinable()) _syncThread.join();
}

void LibraryActions::addEntries(QMenu* menu) {
    menu->addAction(_allAction);
    menu->addAction(_hideRemovedAction);
    menu->addAction(_keepAction);
    _forgetMenu = menu->addMenu(tr("Forget Source"));
    // Filled when it opens: the window does not open the library at launch for it.
    connect(_forgetMenu, &QMenu::aboutToShow, this, &LibraryActions::fillForgetMenu);
    _syncAction = menu->addAction(tr("Sync to Folder\u2026"), this, &LibraryActions::syncToFolder);
    _changeSyncFolderAction =
        menu->addAction(tr("Change Sync Folder\u2026"), this, &LibraryActions::changeSyncFolder);
}

std::unique_ptr<Library> LibraryActions::openLibrary() {
    std::string problem;
    auto library = Library::open(_file, problem);
    if (!library)
        _messageBar.showMessage(MessageBar::Kind::Error, text(problem));
    else if (library->readOnly())
        _messageBar.showMessage(MessageBar::Kind::Warning, text(library->notice()));
    return library;
}

void LibraryActions::keep(SourceRead read) {
    if (!_keepAction->isChecked() || !read.ok()) return;
    _waiting.push_back(std::move(read));
    startNextKeep();
}

void LibraryActions::startNextKeep() {
    if (_thread.joinable()) {
        if (!_threadDone) return; // the next starts when this one is done
        _thread.join();
    }
    if (_waiting.empty()) return;
    SourceRead read = std::move(_waiting.front());
    _waiting.pop_front();
    _threadDone = false;
    auto* status = static_cast<QMainWindow&>(_window).statusBar();
    status->showMessage(tr("Keeping highlights in your library\u2026"));
    _thread = std::thread([this, read = std::move(read), file = _file] {
        std::string problem;
        Library::Counts counts;
        bool done = false;
        // A connection of this thread's own; the window's thread never waits for the add.
        if (auto library = Library::open(file, problem)) {
            done = library->add(read, counts, problem, [this](std::size_t part, std::size_t total) {
                const int percent = total ? static_cast<int>(part * 100 / total) : 100;
                QMetaObject::invokeMethod(
                    this,
                    [this, percent] {
                        static_cast<QMainWindow&>(_window).statusBar()->showMessage(
                            tr("Keeping highlights in your library\u2026 %1%").arg(percent));
                    },
                    Qt::QueuedConnection);
                return !_closing.load();
            });
        }
        const QString message = done ? tr("Kept in your library: %1").arg(countsText(counts)) : text(problem);
        QMetaObject::invokeMethod(
            this,
            [this, done, message] {
                _threadDone = true;
                static_cast<QMainWindow&>(_window).statusBar()->showMessage(message, 10000);
                if (!done) _messageBar.showMessage(MessageBar::Kind::Error, message);
                reloadIfChanged();
                emit kept(message);
                startNextKeep();
            },
            Qt::QueuedConnection);
    });
}

void LibraryActions::showAllHighlights() {
    WaitCursor wait;
    auto library = openLibrary();
    if (!library) {
        _allAction->setChecked(false);
        return;
    }
    std::vector<WorkPtr> works = library->works(_hideRemovedAction->isChecked());
    if (hideNoAnnotations())
        std::erase_if(works, [](const WorkPtr& work) { return work->annotations.empty(); });
    _listedTimes = fileTimes();
    const bool was = _showing;
    _showing = true;
    _allAction->setChecked(true);
    QSettings().setValue(kShowAllKey, true);
    _dataManager.setFilteredWorks(std::move(works));
    if (!was) emit showingChanged(true);
}

void LibraryActions::leaveAllHighlights() {
    _allAction->setChecked(false);
    if (!_showing) return;
    _showing = false;
    QSettings().setValue(kShowAllKey, false);
    emit showingChanged(false);
}

void LibraryActions::relist() {
    if (_showing) showAllHighlights();
}

void LibraryActions::reloadIfChanged() {
    if (_showing && fileTimes() != _listedTimes) relist();
}

std::pair<std::filesystem::file_time_type, std::filesystem::file_time_type>
LibraryActions::fileTimes() const {
    std::error_code ec;
    const auto file = std::filesystem::last_write_time(_file, ec);
    const auto log = std::filesystem::last_write_time(_file.string() + "-wal", ec);
    return {file, ec ? std::filesystem::file_time_type() : log};
}

bool LibraryActions::canMark(const Annotation& annotation) const {
    return annotation.annotationLibrary != nullptr;
}

void LibraryActions::toggleFavourite(const std::shared_ptr<Annotation>& annotation) {
    if (!annotation || !canMark(*annotation)) return;
    auto library = openLibrary();
    if (!library) return;
    AnnotationInLibrary state = *annotation->annotationLibrary;
    state.favourite = !state.favourite;
    std::string problem;
    if (!library->setFavourite(annotation->key(), state.favourite, problem)) {
        _messageBar.showMessage(MessageBar::Kind::Error, text(problem));
        return;
    }
    annotation->annotationLibrary = SharedConst<AnnotationInLibrary>(std::move(state));
    _listedTimes = fileTimes(); // our own write: nothing to list again
    emit marksChanged();
}

void LibraryActions::editTags(const std::shared_ptr<Annotation>& annotation) {
    if (!annotation || !canMark(*annotation)) return;
    QStringList current;
    for (const std::string& tag : annotation->annotationLibrary->tags)
        current << text(tag);
    _presenter.presentTextInput(
        &_window, tr("Tags"), tr("Tags for this highlight, separated by commas:"),
        current.join(QStringLiteral(", ")), [this, annotation](const std::optional<QString>& answer) {
            if (!answer) return;
            std::vector<std::string> tags;
            for (const QString& tag : answer->split(QLatin1Char(','), Qt::SkipEmptyParts))
                if (!tag.trimmed().isEmpty()) tags.push_back(tag.trimmed().toStdString());
            auto library = openLibrary();
            if (!library) return;
            std::string problem;
            if (!library->setTags(annotation->key(), tags, problem)) {
                _messageBar.showMessage(MessageBar::Kind::Error, text(problem));
                return;
            }
            AnnotationInLibrary state = *annotation->annotationLibrary;
            std::sort(tags.begin(), tags.end());
            tags.erase(std::unique(tags.begin(), tags.end()), tags.end());
            state.tags = std::move(tags);
            annotation->annotationLibrary = SharedConst<AnnotationInLibrary>(std::move(state));
            _listedTimes = fileTimes();
            emit marksChanged();
        });
}

void LibraryActions::syncToFolder() {
    const QString folder = QSettings().value(kSyncFolderKey).toString();
    if (folder.isEmpty())
        changeSyncFolder();
    else
        startSync(folder);
}

void LibraryActions::changeSyncFolder() {
    _presenter.presentFolderPanel(&_window, tr("Choose Your Notes Folder"),
                                  tr("Choose your notes folder: one Markdown file per book is kept in it"),
                                  QSettings().value(kSyncFolderKey, QDir::homePath()).toString(),
                                  [this](const PanelResult& result) {
                                      if (result.outcome != PanelResult::Outcome::Chosen) return;
                                      QSettings().setValue(kSyncFolderKey, result.path);
                                      startSync(result.path);
                                  });
}

void LibraryActions::startSync(const QString& folder) {
    if (syncing()) return;
    if (_syncThread.joinable()) _syncThread.join();
    std::string problem;
    auto templates = NoteTemplates::load(
        QSettings().value(kSyncTemplateKey, QStringLiteral("obsidian")).toString().toStdString(), problem);
    if (!templates) {
        _messageBar.showMessage(MessageBar::Kind::Error, text(problem));
        return;
    }
    _syncDone = false;
    auto* status = static_cast<QMainWindow&>(_window).statusBar();
    status->showMessage(tr("Syncing to %1\u2026").arg(folder));
    _syncThread = std::thread([this, folder, file = _file, templates = std::move(*templates)]() mutable {
        std::string problem;
        NotesSync::Report report;
        bool done = false;
        if (auto library = Library::open(file, problem)) {
            const auto works = library->works();
            NotesSync::Options options{
                folder.toStdString(), std::move(templates), false, false,
                [this](std::size_t part, std::size_t total) {
                    if (part % 64 != 0 || total == 0) return;
                    const int percent = static_cast<int>(part * 100 / total);
                    QMetaObject::invokeMethod(
                        this,
                        [this, percent] {
                            static_cast<QMainWindow&>(_window).statusBar()->showMessage(
                                tr("Syncing to your notes folder\u2026 %1%").arg(percent));
                        },
                        Qt::QueuedConnection);
                }};
            done = NotesSync::run(*library, works, options, report, problem);
        }
        const QString message = done ? syncText(report) : text(problem);
        QMetaObject::invokeMethod(
            this,
            [this, done, message, folder] {
                _syncDone = true;
                static_cast<QMainWindow&>(_window).statusBar()->clearMessage();
                if (done)
                    _messageBar.showMessage(
                        MessageBar::Kind::Information, message, tr("Show in Folder"), [this, folder] {
                            if (!FileManager::openFolder(folder))
                                _messageBar.showMessage(MessageBar::Kind::Error,
                                                        FileManager::notShownText(folder));
                        });
                else
                    _messageBar.showMessage(MessageBar::Kind::Error, message);
                emit synced(message);
            },
            Qt::QueuedConnection);
    });
}

void LibraryActions::fillForgetMenu() {
    _forgetMenu->clear();
    std::error_code ec;
    std::vector<Library::SourceInfo> sources;
    if (std::filesystem::exists(_file, ec)) {
        std::string problem;
        if (auto library = Library::open(_file, problem)) sources = library->sources();
    }
    if (sources.empty()) {
        _forgetMenu->addAction(tr("No Sources Kept"))->setEnabled(false);
        return;
    }
    for (const Library::SourceInfo& source : sources) {
        const long long id = source.id;
        _forgetMenu->addAction(text(source.name) + QStringLiteral("\u2026"), this,
                               [this, id] { forgetSource(id); });
    }
}

void LibraryActions::forgetSource(long long sourceID) {
    auto library = openLibrary();
    if (!library) return;
    std::optional<Library::SourceInfo> source;
    for (Library::SourceInfo& info : library->sources())
        if (info.id == sourceID) source = std::move(info);
    if (!source) return;
    const std::size_t leaving = library->annotationsOnlyFrom(sourceID);
    const QString name = text(source->name);
    _presenter.presentAlertWithAction(
        &_window, tr("Forget Source"), tr("Forget \u201C%1\u201D?").arg(name),
        leaving == 1
            ? tr("1 highlight leaves your library; highlights another source also lists stay.")
            : tr("%1 highlights leave your library; highlights another source also lists stay.").arg(leaving),
        tr("Forget"),
        [this, sourceID, name, leaving] {
            auto library = openLibrary();
            if (!library) return;
            std::string problem;
            if (!library->forget(sourceID, problem)) {
                _messageBar.showMessage(MessageBar::Kind::Error, text(problem));
                return;
            }
            static_cast<QMainWindow&>(_window).statusBar()->showMessage(
                leaving == 1 ? tr("Forgot %1: 1 highlight left your library.").arg(name)
                             : tr("Forgot %1: %2 highlights left your library.").arg(name).arg(leaving),
                10000);
            relist();
        },
        [] {});
}

} // namespace notara
