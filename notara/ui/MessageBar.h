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
    // Information leaves by itself after a few seconds; warnings and errors stay until dismissed.
    enum class Kind { Information, Warning, Error };
    // How long information stays (tests shorten it).
    static inline int informationMilliseconds = 6000;

    explicit MessageBar(QWidget* parent = nullptr);

    // Shows `text` (plain text, never markup); with `actionText`, a button that runs `action`
    // and then closes the bar.
    void showMessage(const QString& text, const QString& actionText = {}, std::function<void()> action = {});
    // The same as a message of `kind`, with that kind's icon and colour (a plain showMessage is
    // a warning).
    void showMessage(Kind kind, const QString& text, const QString& actionText = {},
                     std::function<void()> action = {});
    Kind kind() const { return _kind; }
    QLabel* icon() const { return _icon; }
    void dismiss();

    QString text() const;
    QPushButton* actionButton() const { return _action; }
    QToolButton* closeButton() const { return _close; }

private:
    QLabel* _label = nullptr;
    QPushButton* _action = nullptr;
    QToolButton* _close = nullptr;
    std::function<void()> _onAction;
    QLabel* _icon = nullptr;
    class QTimer* _timer = nullptr;
    Kind _kind = Kind::Warning;
    void showKind();
};

} // namespace notara
