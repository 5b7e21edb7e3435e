#pragma once

#include <QString>

#include <memory>

class QMessageBox;
class QWidget;

namespace corvane {

/// A message box holding `message` as its text, not yet shown; the caller decides when
/// and how to show it.
std::unique_ptr<QMessageBox> simpleAlertWithMessage(const QString& message, QWidget* parent = nullptr);

} // namespace corvane
