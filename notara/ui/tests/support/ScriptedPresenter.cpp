#include "notara/ui/tests/support/ScriptedPresenter.h"

namespace notara::test {

namespace {

PanelResult next(std::deque<PanelResult>& answers) {
    if (answers.empty()) return PanelResult::cancelled();
    PanelResult result = answers.front();
    answers.pop_front();
    return result;
}

} // namespace

void ScriptedPresenter::dismissAlert() {
    auto dismiss = std::move(_dismiss);
    _dismiss = nullptr;
    if (dismiss) dismiss();
}

void ScriptedPresenter::presentFolderPanel(QWidget*, const QString& title, const QString& message,
                                           const QString& startFolder,
                                           std::function<void(const PanelResult&)> done) {
    ++folderPanels;
    panelTitle = title;
    folderMessage = message;
    folderStart = startFolder;
    done(next(folderAnswers));
}

void ScriptedPresenter::presentHtmlFilePanel(QWidget*, const QString& title, const QString& startFolder,
                                             std::function<void(const PanelResult&)> done) {
    ++htmlFilePanels;
    panelTitle = title;
    htmlFileStart = startFolder;
    done(next(htmlFileAnswers));
}

void ScriptedPresenter::presentFilePanel(QWidget*, const QString& title, const QString& startFolder,
                                         const QStringList& nameFilters,
                                         std::function<void(const PanelResult&)> done) {
    ++filePanels;
    fileTitle = title;
    fileStart = startFolder;
    fileFilters = nameFilters;
    done(next(fileAnswers));
}

void ScriptedPresenter::presentAlert(QWidget*, const QString& title, const QString& message,
                                     std::function<void()> dismissed) {
    ++alerts;
    alertTitle = title;
    alertMessage = message;
    alertInformativeText.clear();
    alertActionText.clear();
    _action = nullptr;
    _dismiss = std::move(dismissed);
}

void ScriptedPresenter::presentAlertWithAction(QWidget* parent, const QString& title, const QString& message,
                                               const QString& informativeText, const QString& actionText,
                                               std::function<void()> action,
                                               std::function<void()> dismissed) {
    presentAlert(parent, title, message, std::move(dismissed));
    alertInformativeText = informativeText;
    alertActionText = actionText;
    _action = std::move(action);
}

void ScriptedPresenter::presentTextInput(QWidget*, const QString& title, const QString&, const QString& text,
                                         std::function<void(const std::optional<QString>&)> done) {
    ++textInputs;
    textInputTitle = title;
    textInputText = text;
    std::optional<QString> answer;
    if (!textAnswers.empty()) {
        answer = textAnswers.front();
        textAnswers.pop_front();
    }
    done(answer);
}

void ScriptedPresenter::pressAlertAction() {
    auto action = std::move(_action);
    _action = nullptr;
    if (action) action();
    dismissAlert();
}

} // namespace notara::test
