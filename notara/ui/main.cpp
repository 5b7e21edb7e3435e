#include "notara/ui/ContentView.h"
#include "notara/ui/NotaraApp.h"

int main(int argc, char** argv) {
    notara::NotaraApp app(argc, argv);
    notara::ContentView window(notara::NotaraApp::sharedDataManager());
    window.show();
    return app.exec();
}
