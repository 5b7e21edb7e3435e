#pragma once

#include "notara/ui/NotaraApp.h"

#include <QString>
#include <QTest>

namespace notara::test {

// Points HOME and the XDG folders at a fresh temporary folder, so that settings, bookmarks,
// working copies and exports never touch the real user's. Call before the application exists.
void isolateUserFolders();

// The temporary home of isolateUserFolders().
QString testHome();

// Removes every setting and the files the previous test left in Downloads and the data folder.
void resetUserState();

} // namespace notara::test

// A Qt Test main that runs the test object inside the real application object, isolated.
#define NOTARA_UI_TEST_MAIN(TestObject)                                                                      \
    int main(int argc, char** argv) {                                                                        \
        notara::test::isolateUserFolders();                                                                  \
        notara::NotaraApp app(argc, argv);                                                                   \
        TestObject test;                                                                                     \
        return QTest::qExec(&test, argc, argv);                                                              \
    }
