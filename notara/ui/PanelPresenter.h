#pragma once

#include "notara/ui/PanelResult.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

namespace notara {

// Every panel and message box the window opens goes through this interface, so that tests can
// answer them. Each call presents and returns at once; the callback runs when the user closes it.
class PanelPresenter {
public:
    virtual ~PanelPresenter() = default;

    // An open panel that accepts one folder, titled `title` (what to choose), showing `message`.
    virtual void presentFolderPanel(QWidget* parent, const QString& title, const QString& message,
                                    const QString& startFolder,
                                    std::function<void(const PanelResult&)> done) = 0;

    // An open panel that accepts one HTML file, titled `title`.
    virtual void presentHtmlFilePanel(QWidget* parent, const QString& title, const QString& startFolder,
                                      std::function<void(const PanelResult&)> done) = 0;

    // An open panel that accepts one existing file, titled `title`, offering `nameFilters`
    // ("Kobo database (KoboReader.sqlite)"); hidden folders are shown, since devices keep
    // their files in them.
    virtual void presentFilePanel(QWidget* parent, const QString& title, const QString& startFolder,
                                  const QStringList& nameFilters,
                                  std::function<void(const PanelResult&)> done) = 0;

    // A message box with only the default dismiss button.
    virtual void presentAlert(QWidget* parent, const QString& title, const QString& message,
                              std::function<void()> dismissed) = 0;
    // A message box with an informative text below the message and, beside the dismiss
    // button, one more button that runs `action` (and closes the box).
    virtual void presentAlertWithAction(QWidget* parent, const QString& title, const QString& message,
                                        const QString& informativeText, const QString& actionText,
                                        std::function<void()> action, std::function<void()> dismissed) = 0;
    // A box asking for one line of text, `text` filled in; `done` gets the text, or nothing
    // when the box was cancelled.
    virtual void presentTextInput(QWidget* parent, const QString& title, const QString& label,
                                  const QString& text,
                                  std::function<void(const std::optional<QString>&)> done) = 0;
};

} // namespace notara
