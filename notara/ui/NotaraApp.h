#pragma once

#include <QApplication>

namespace notara {

class DataManager;

// The application object: names the application for settings and the desktop, and holds the
// one DataManager that every view shares.
class NotaraApp : public QApplication {
    Q_OBJECT

public:
    NotaraApp(int& argc, char** argv);

    // Created on first use from any thread, exactly once; lives until the process ends.
    static DataManager& sharedDataManager();

    // Organisation and application names that QSettings and the folders are keyed on.
    static void setApplicationIdentity();
};

} // namespace notara
