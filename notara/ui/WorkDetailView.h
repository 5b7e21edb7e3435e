#pragma once

#include "notara/core/model/AnnotationOrder.h"

#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <span>
#include <vector>

class QAction;
class QLabel;
class QListView;
class QMenu;
class QStackedWidget;
class QToolBar;

namespace notara {

class Annotation;
class AnnotationCardDelegate;
class AnnotationListModel;
class DataManager;
class PanelPresenter;
class Work;

// The right column: the selected work's annotations as cards, copying one passage and
// exporting the work as Markdown.
class WorkDetailView : public QWidget {
    Q_OBJECT

public:
    WorkDetailView(DataManager& dataManager, PanelPresenter& presenter, QWidget* parent = nullptr);
    ~WorkDetailView() override;

    // The main window owns the selection and hands every change of it here.
    void setSelectedWork(std::shared_ptr<Work> work);
    const std::shared_ptr<Work>& selectedWork() const { return _selectedWork; }

    bool showExportingAlert() const { return _showExportingAlert; }
    const QString& exportingAlertBody() const { return _exportingAlertBody; }
    const std::shared_ptr<Annotation>& selectedAnnotation() const { return _selectedAnnotation; }

    // The toolbar button's action.
    void exportAnnotations();
    // The card context menu's action: exactly the passage, as plain text.
    void copyAnnotation(int row);
    // "— Title, Author, place" under the passage in quotation marks, as plain text.
    void copyAnnotationAsCitation(int row);
    static QString citation(const Work& work, const Annotation& annotation);
    // The context menu of the card in `row`: "Copy", "Copy as Citation", and for a highlight of
    // the library "Favourite" and "Tags…".
    std::unique_ptr<QMenu> contextMenuForRow(int row);
    // Who keeps the reader's marks: whether an annotation can carry them, and the two changes.
    struct Marking {
        std::function<bool(const Annotation&)> canMark;
        std::function<void(const std::shared_ptr<Annotation>&)> toggleFavourite;
        std::function<void(const std::shared_ptr<Annotation>&)> editTags;
    };
    void setMarking(Marking marking) { _marking = std::move(marking); }
    // The cards are drawn again (their marks changed).
    void refreshCards();
    // Whether a program handles a reader's links ("calibre"): asked of the desktop once per
    // scheme unless replaced (tests do).
    void setReaderAvailable(std::function<bool(const QString& scheme)> available) {
        _readerAvailable = std::move(available);
    }
    // "Open in Reader": the book at the highlight, in its reader or the desktop's program for it.
    void openInReader(int row);

    // The order of the cards and of the export; the work's own order until changed.
    void setAnnotationOrder(AnnotationOrder::Order order);
    AnnotationOrder::Order annotationOrder() const;
    // Whether the export writes the detailed layout.
    void setDetailedExport(bool detailed) { _detailedExport = detailed; }
    // While a search runs: only `matching` of the work's annotations, with `query` marked;
    // null shows them all.
    void setSearch(const std::span<const Annotation* const>* matching, const QString& query);
    bool detailedExport() const { return _detailedExport; }

    QAction* exportAction() const { return _exportAction; }
    QListView* annotationList() const { return _annotationList; }
    QLabel* noAnnotationsLabel() const { return _noAnnotationsLabel; }
    QLabel* titleLabel() const { return _titleLabel; }
    QLabel* subtitleLabel() const { return _subtitleLabel; }
    AnnotationCardDelegate* cardDelegate() const { return _cardDelegate; }

signals:
    // Something failed that the alert alone does not explain (the system's reason).
    void problemOccurred(const QString& message);
    // A passage went to the clipboard.
    void copied();

private:
    void showSelectedWork();

    DataManager& _dataManager;
    PanelPresenter& _presenter;
    std::shared_ptr<Work> _selectedWork;
    bool _showExportingAlert = false;
    QString _exportingAlertBody = QStringLiteral("Exported all Annotations. Check your Downloads folder.");
    std::shared_ptr<Annotation> _selectedAnnotation;
    bool _detailedExport = false;

    QToolBar* _toolBar;
    QLabel* _titleLabel;
    QLabel* _subtitleLabel;
    QAction* _exportAction;
    QStackedWidget* _pages;
    QWidget* _emptyPage;
    QLabel* _noAnnotationsLabel;
    QListView* _annotationList;
    AnnotationListModel* _annotationModel;
    AnnotationCardDelegate* _cardDelegate;
    Marking _marking;
    std::function<bool(const QString&)> _readerAvailable;
};

} // namespace notara
