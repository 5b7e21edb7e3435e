#pragma once

#include "notara/ui/PanelPresenter.h"

namespace notara {

// The real panels: QFileDialog and QMessageBox, window-modal and non-blocking.
class QtPanelPresenter : public PanelPresenter {
public:
    void presentFolderPanel(QWidget* parent, const QString& title, const QString& message,
                            const QString& startFolder,
                            std::function<void(const PanelResult&)> done) override;
    void presentHtmlFilePanel(QWidget* parent, const QString& title, const QString& startFolder,
                              std::function<void(const PanelResult&)> done) override;
    void presentFilePanel(QWidget* parent, const QString& title, const QString& startFolder,
                          const QStringList& nameFilters,
                          std::function<void(const PanelResult&)> done) override;
    void presentAlertWithAction(QWidget* parent, const QString& title, const QString& message,
                                const QString& informativeText, const QString& actionText,
                                std::function<void()> action, std::function<void()> dismissed) override;
    void presentAlert(QWidget* parent, const QString& title, const QString& message,
                      std::function<void()> dismissed) override;
    void presentTextInput(QWidget* parent, const QString& title, const QString& label, const QString& text,
                          std::function<void(const std::optional<QString>&)> done) override;
};

} // namespace notara
