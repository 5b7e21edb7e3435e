#pragma once

#include <QFrame>
#include <QString>

#include <functional>

class QLabel;
class QPushButton;
class QToolButton;

namespace notara {

// A strip above the window's content that tells the user what happened when nothing else
// would: one message at a time (the newest replaces the one shown), an optional button that
// acts on it, and a close button. It never blocks the window.
class MessageBar : public QFrame {
    Q_OBJECT

public:
    explicit MessageBar(QWidget* parent = nullptr);

    // Shows `text` (plain text, never markup); with `actionText`, a button that runs `action`
    // and then closes the bar.
    void showMessage(const QString& text, const QString& actionText = {}, std::function<void()> action = {});
    void dismiss();

    QString text() const;
    QPushButton* actionButton() const { return _action; }
    QToolButton* closeButton() const { return _close; }

private:
    QLabel* _label = nullptr;
    QPushButton* _action = nullptr;
    QToolButton* _close = nullptr;
    std::function<void()> _onAction;
};

} // namespace notara
