#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

namespace notara {

// The window's language: Notara's own translation and Qt's (for the standard dialogs' buttons)
// for the first of the reader's languages that has one; English when English comes first or
// nothing fits.
class Translations {
public:
    Translations() = delete;

    // Replaces what an earlier call installed. Returns the language loaded ("de", "zh_CN"), or
    // an empty text when the window stays English.
    static QString install(const QLocale& locale = QLocale());

    // Where the .qm files are looked for: beside the installed program's data, then beside the
    // program itself (the build tree).
    static QStringList folders();
};

} // namespace notara
