#include "notara/ui/QtPanelPresenter.h"

#include "notara/ui/DisplayPath.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace notara {

namespace {

// A panel finishes while it is still handling the key or click that closed it, and what the
// callback starts (an export with its progress dialog, another panel) may spin the event loop
// and delete the panel under that handler. The answer is therefore taken at once and handed on
// from the event loop, after the panel has closed; `context` going away drops it.
template <typename Callback> void later(QObject* context, Callback callback) {
    QMetaObject::invokeMethod(context ? context : qApp, std::move(callback), Qt::QueuedConnection);
}

void deliverOnClose(QFileDialog* dialog, QWidget* parent, std::function<void(const PanelResult&)> done) {
    QObject::connect(dialog, &QDialog::finished, dialog, [dialog, parent, done = std::move(done)](int code) {
        const QStringList files = dialog->selectedFiles();
        const PanelResult result = code == QDialog::Accepted && !files.isEmpty()
                                       ? PanelResult::chosen(files.first())
                                       : PanelResult::cancelled();
        later(parent, [done, result] { done(result); });
    });
}

} // namespace

void QtPanelPresenter::presentFolderPanel(QWidget* parent, const QString& title, const QString& message,
                                          const QString& startFolder,
                                          std::function<void(const PanelResult&)> done) {
    auto* dialog = new QFileDialog(parent, title);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    // The Books folder lives in a hidden-looking place the user has to be told about; native
    // dialogs cannot show a message, so this one is Qt's own with the message beneath the view.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setDirectory(startFolder);
    dialog->resize(760, 520); // Qt's own dialog opens too small to show the folder names
    if (auto* grid = qobject_cast<QGridLayout*>(dialog->layout())) {
        auto* label = new QLabel(message, dialog);
        label->setWordWrap(true);
        label->setTextFormat(Qt::PlainText);
        grid->addWidget(label, grid->rowCount(), 0, 1, grid->columnCount());
    }
    deliverOnClose(dialog, parent, std::move(done));
    dialog->open();
}

void QtPanelPresenter::presentHtmlFilePanel(QWidget* parent, const QString& title, const QString& startFolder,
                                            std::function<void(const PanelResult&)> done) {
    auto* dialog = new QFileDialog(parent, title);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setMimeTypeFilters({QStringLiteral("text/html")});
    dialog->setDirectory(startFolder);
    deliverOnClose(dialog, parent, std::move(done));
    dialog->open();
}

void QtPanelPresenter::presentFilePanel(QWidget* parent, const QString& title, const QString& startFolder,
                                        const QStringList& nameFilters,
                                        std::function<void(const PanelResult&)> done) {
    auto* dialog = new QFileDialog(parent, title);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setNameFilters(nameFilters);
    dialog->setFilter(dialog->filter() | QDir::Hidden); // a Kobo keeps its database in ".kobo"
    dialog->setDirectory(startFolder);
    deliverOnClose(dialog, parent, std::move(done));
    dialog->open();
}

void QtPanelPresenter::presentAlert(QWidget* parent, const QString& title, const QString& message,
                                    std::function<void()> dismissed) {
    auto* box = new QMessageBox(QMessageBox::NoIcon, title, DisplayPath::unbrokenPaths(message),
                                QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    box->setTextFormat(Qt::PlainText); // titles inside the message come from user data
    QObject::connect(box, &QMessageBox::finished, box,
                     [parent, dismissed = std::move(dismissed)](int) { later(parent, dismissed); });
    box->open();
}

void QtPanelPresenter::presentAlertWithAction(QWidget* parent, const QString& title, const QString& message,
                                              const QString& informativeText, const QString& actionText,
                                              std::function<void()> action, std::function<void()> dismissed) {
    auto* box = new QMessageBox(QMessageBox::NoIcon, title, DisplayPath::unbrokenPaths(message),
                                QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    box->setTextFormat(Qt::PlainText);
    box->setInformativeText(DisplayPath::unbrokenPaths(informativeText)
                                .toHtmlEscaped()); // informative text has no format of its own
    QPushButton* button = box->addButton(actionText, QMessageBox::ActionRole);
    box->setEscapeButton(QMessageBox::Ok); // Esc and the close button dismiss it, as with one button
    QObject::connect(button, &QPushButton::clicked, box,
                     [parent, action = std::move(action)] { later(parent, action); });
    QObject::connect(box, &QMessageBox::finished, box,
                     [parent, dismissed = std::move(dismissed)](int) { later(parent, dismissed); });
    box->open();
}

void QtPanelPresenter::presentTextInput(QWidget* parent, const QString& title, const QString& label,
                                        const QString& text,
                                        std::function<void(const std::optional<QString>&)> done) {
    auto* box = new QInputDialog(parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    box->setWindowTitle(title);
    box->setLabelText(label);
    box->setTextValue(text);
    QObject::connect(box, &QDialog::finished, box, [box, parent, done = std::move(done)](int code) {
        const std::optional<QString> answer =
            code == QDialog::Accepted ? std::optional<QString>(box->textValue()) : std::nullopt;
        later(parent, [done, answer] { done(answer); });
    });
    box->open();
}

} // namespace notara
