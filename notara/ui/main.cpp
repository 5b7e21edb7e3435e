#include "notara/ui/ContentView.h"
#include "notara/ui/NotaraApp.h"
#include "notara/ui/Translations.h"

int main(int argc, char** argv) {
    notara::NotaraApp app(argc, argv);
    notara::Translations::install(); // the system locale's language, before any text is made
    notara::ContentView window(notara::NotaraApp::sharedDataManager());
    window.show();
    return app.exec();
}
