#include "notara/ui/MessageBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QToolButton>

namespace notara {

MessageBar::MessageBar(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::ToolTipBase));
    colours.setColor(QPalette::WindowText, colours.color(QPalette::ToolTipText));
    setPalette(colours);

    auto* layout = new QHBoxLayout(this);
    _icon = new QLabel(this);
    layout->addWidget(_icon);
    _label = new QLabel(this);
    _label->setTextFormat(Qt::PlainText); // messages quote file names and titles
    _label->setWordWrap(true);
    _label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(_label, 1);
    _action = new QPushButton(this);
    layout->addWidget(_action);
    _close = new QToolButton(this);
    _close->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    _close->setAutoRaise(true);
    _close->setToolTip(tr("Dismiss"));
    _close->setAccessibleName(tr("Dismiss"));
    layout->addWidget(_close);

    connect(_close, &QToolButton::clicked, this, &MessageBar::dismiss);
    connect(_action, &QPushButton::clicked, this, [this] {
        auto action = _onAction;
        dismiss();
        if (action) action();
    });
    _timer = new QTimer(this);
    _timer->setSingleShot(true);
    connect(_timer, &QTimer::timeout, this, &MessageBar::dismiss);
    setAccessibleName(tr("Message"));
    hide();
}

void MessageBar::showKind() {
    // The style's own icons and the palette's colours, so that a dark theme keeps them readable.
    const QStyle::StandardPixmap icons[] = {QStyle::SP_MessageBoxInformation, QStyle::SP_MessageBoxWarning,
                                            QStyle::SP_MessageBoxCritical};
    const int size = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
    _icon->setPixmap(style()->standardIcon(icons[static_cast<int>(_kind)], nullptr, this).pixmap(size, size));
    QPalette colours = parentWidget() ? parentWidget()->palette() : QPalette();
    const QPalette::ColorRole background =
        _kind == Kind::Information ? QPalette::AlternateBase : QPalette::ToolTipBase;
    const QPalette::ColorRole foreground =
        _kind == Kind::Information ? QPalette::Text : QPalette::ToolTipText;
    colours.setColor(QPalette::Window, colours.color(background));
    colours.setColor(QPalette::WindowText, colours.color(foreground));
    setPalette(colours);
    _icon->setAccessibleName(_kind == Kind::Information ? tr("Information")
                             : _kind == Kind::Warning   ? tr("Warning")
                                                        : tr("Error"));
}

void MessageBar::showMessage(const QString& text, const QString& actionText, std::function<void()> action) {
    showMessage(Kind::Warning, text, actionText, std::move(action));
}

void MessageBar::showMessage(Kind kind, const QString& text, const QString& actionText,
                             std::function<void()> action) {
    _kind = kind;
    showKind();
    if (kind == Kind::Information && actionText.isEmpty()) // an offer stays until taken or dismissed
        _timer->start(informationMilliseconds);
    else
        _timer->stop();
    _label->setText(text);
    _onAction = std::move(action);
    _action->setText(actionText);
    _action->setVisible(!actionText.isEmpty());
    show();
}

void MessageBar::dismiss() {
    _timer->stop();
    _onAction = nullptr;
    _label->clear();
    hide();
}

QString MessageBar::text() const {
    return isHidden() ? QString() : _label->text();
}

} // namespace notara
