#include "notara/ui/tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdlib>

namespace notara::test {

namespace {

QTemporaryDir& home() {
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/notara-ui-test-XXXXXX"));
    return dir;
}

void clearFolder(const QString& path) {
    QDir dir(path);
    if (!dir.exists()) return;
    for (const QFileInfo& entry : dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
        if (entry.isDir())
            QDir(entry.filePath()).removeRecursively();
        else
            QFile::remove(entry.filePath());
    }
}

} // namespace

void isolateUserFolders() {
    const QString root = home().path();
    const auto set = [&](const char* name, const QString& sub) {
        const QString path = root + sub;
        QDir().mkpath(path);
        qputenv(name, QFile::encodeName(path));
    };
    set("HOME", QString());
    set("XDG_CONFIG_HOME", QStringLiteral("/.config"));
    set("XDG_DATA_HOME", QStringLiteral("/.local/share"));
    set("XDG_CACHE_HOME", QStringLiteral("/.cache"));
    set("XDG_STATE_HOME", QStringLiteral("/.local/state"));
    set("XDG_RUNTIME_DIR", QStringLiteral("/.runtime"));
    QFile::setPermissions(root + QStringLiteral("/.runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QDir().mkpath(root + QStringLiteral("/Downloads"));
    // No desktop's session bus: "Show in Folder" must not start the developer's file manager.
    qputenv("DBUS_SESSION_BUS_ADDRESS",
            QByteArrayLiteral("unix:path=") + QFile::encodeName(root) + "/.runtime/no-bus");
}

QString testHome() {
    return home().path();
}

void resetUserState() {
    QSettings settings;
    settings.clear();
    settings.sync();
    clearFolder(testHome() + QStringLiteral("/Downloads"));
    clearFolder(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

} // namespace notara::test
