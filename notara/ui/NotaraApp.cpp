#include "notara/ui/NotaraApp.h"

#include "notara/core/model/DataManager.h"
#include "notara/ui/AppIcons.h"

namespace notara {

NotaraApp::NotaraApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationIdentity();
    setApplicationDisplayName(QStringLiteral("Notara"));
    setDesktopFileName(QStringLiteral("io.github.notara.Notara")); // the desktop entry's name
    setWindowIcon(AppIcons::application());
}

DataManager& NotaraApp::sharedDataManager() {
    return DataManager::shared(); // a function-local static: created once, safely, on first use
}

void NotaraApp::setApplicationIdentity() {
    QCoreApplication::setOrganizationName(QStringLiteral("Notara"));
    QCoreApplication::setApplicationName(QStringLiteral("Notara"));
}

} // namespace notara
