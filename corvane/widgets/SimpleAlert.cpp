#include "corvane/widgets/SimpleAlert.h"

#include <QMessageBox>

namespace corvane {

std::unique_ptr<QMessageBox> simpleAlertWithMessage(const QString& message, QWidget* parent) {
    auto alert = std::make_unique<QMessageBox>(parent);
    alert->setText(message);
    return alert;
}

} // namespace corvane
