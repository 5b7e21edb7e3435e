#include "notara/ui/FileManager.h"

#include "notara/ui/DisplayPath.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace notara {

bool FileManager::call(const QString& method, const QString& path) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !QFileInfo::exists(path)) return false;
    QDBusMessage message = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), method);
    message << QStringList{QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString()} << QString();
    // Bounded: a file manager that is being started answers within a few seconds or not at all.
    return bus.call(message, QDBus::Block, 5000).type() == QDBusMessage::ReplyMessage;
}

bool FileManager::showInFolder(const QString& file) {
    return call(QStringLiteral("ShowItems"), file) ||
           QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(file).absolutePath()));
}

QString FileManager::notShownText(const QString& path) {
    return QCoreApplication::translate("notara::FileManager", "No file manager could show \u201C%1\u201D.")
        .arg(DisplayPath::homeAsTilde(path));
}

bool FileManager::openFolder(const QString& folder) {
    return call(QStringLiteral("ShowFolders"), folder) ||
           QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}

} // namespace notara
