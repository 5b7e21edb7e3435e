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

void ScriptedPresenter::presentFolderPanel(QWidget*, const QString& message, const QString& startFolder,
                                           std::function<void(const PanelResult&)> done) {
    ++folderPanels;
    folderMessage = message;
    folderStart = startFolder;
    done(next(folderAnswers));
}

void ScriptedPresenter::presentHtmlFilePanel(QWidget*, const QString& startFolder,
                                             std::function<void(const PanelResult&)> done) {
    ++htmlFilePanels;
    htmlFileStart = startFolder;
    done(next(htmlFileAnswers));
}

void ScriptedPresenter::presentAlert(QWidget*, const QString& title, const QString& message,
                                     std::function<void()> dismissed) {
    ++alerts;
    alertTitle = title;
    alertMessage = message;
    _dismiss = std::move(dismissed);
}

} // namespace notara::test
