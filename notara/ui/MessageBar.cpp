#include "notara/ui/MessageBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
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
    hide();
}

void MessageBar::showMessage(const QString& text, const QString& actionText, std::function<void()> action) {
    _label->setText(text);
    _onAction = std::move(action);
    _action->setText(actionText);
    _action->setVisible(!actionText.isEmpty());
    show();
}

void MessageBar::dismiss() {
    _onAction = nullptr;
    _label->clear();
    hide();
}

QString MessageBar::text() const {
    return isHidden() ? QString() : _label->text();
}

} // namespace notara
