#pragma once

#include "notara/ui/PanelPresenter.h"

#include <deque>
#include <functional>

namespace notara::test {

// Answers the window's panels from a script and records what was presented. Panels answer at
// once (cancelled when the script is empty); alerts stay open until dismissAlert().
class ScriptedPresenter : public PanelPresenter {
public:
    std::deque<PanelResult> folderAnswers;
    std::deque<PanelResult> htmlFileAnswers;
    std::deque<PanelResult> fileAnswers;

    int folderPanels = 0;
    int htmlFilePanels = 0;
    QString panelTitle; // of the last folder or HTML panel
    QString folderMessage;
    QString folderStart;
    QString htmlFileStart;
    int filePanels = 0;
    QString fileTitle;
    QString fileStart;
    QStringList fileFilters;

    int alerts = 0;
    QString alertTitle;
    QString alertMessage;
    bool alertOpen() const { return static_cast<bool>(_dismiss); }
    void dismissAlert();

    void presentFolderPanel(QWidget* parent, const QString& title, const QString& message,
                            const QString& startFolder,
                            std::function<void(const PanelResult&)> done) override;
    void presentHtmlFilePanel(QWidget* parent, const QString& title, const QString& startFolder,
                              std::function<void(const PanelResult&)> done) override;
    void presentFilePanel(QWidget* parent, const QString& title, const QString& startFolder,
                          const QStringList& nameFilters,
                          std::function<void(const PanelResult&)> done) override;
    void presentAlert(QWidget* parent, const QString& title, const QString& message,
                      std::function<void()> dismissed) override;
    void presentAlertWithAction(QWidget* parent, const QString& title, const QString& message,
                                const QString& informativeText, const QString& actionText,
                                std::function<void()> action, std::function<void()> dismissed) override;
    // The last alert's informative text and extra button; pressAlertAction() presses it.
    QString alertInformativeText;
    QString alertActionText;
    void pressAlertAction();
    // Text boxes answer at once from here (cancelled when empty).
    std::deque<std::optional<QString>> textAnswers;
    int textInputs = 0;
    QString textInputTitle;
    QString textInputText;
    void presentTextInput(QWidget* parent, const QString& title, const QString& label, const QString& text,
                          std::function<void(const std::optional<QString>&)> done) override;

private:
    std::function<void()> _dismiss;
    std::function<void()> _action;
};

} // namespace notara::test
