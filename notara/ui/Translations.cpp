#include "notara/ui/Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

#include <cstring>
#include <memory>

namespace notara {

namespace {

QPointer<QTranslator> ours;
QPointer<QTranslator> qts;

void removeInstalled() {
    for (QPointer<QTranslator>* translator : {&ours, &qts}) {
        if (!*translator) continue;
        QCoreApplication::removeTranslator(*translator);
        delete translator->data();
    }
}

} // namespace

QStringList Translations::folders() {
    const QString program = QCoreApplication::applicationDirPath();
    return {QDir::cleanPath(program + QStringLiteral("/../share/notara/translations")), program};
}

QString Translations::install(const QLocale& locale) {
    removeInstalled();
    for (QString language : locale.uiLanguages()) {
        language.replace(QLatin1Char('-'), QLatin1Char('_'));
        // The texts are written in English: a reader who puts English first reads them as they are.
        if (language == QLatin1String("C") || language == QLatin1String("en") ||
            language.startsWith(QLatin1String("en_")))
            return {};
        auto translator = std::make_unique<QTranslator>(QCoreApplication::instance());
        bool loaded = false;
        for (const QString& folder : folders()) {
            if ((loaded = translator->load(QStringLiteral("notara_") + language, folder))) break;
        }
        if (!loaded) continue;
        ours = translator.release();
        QCoreApplication::installTranslator(ours);
        // Qt's own texts (Cancel, Open, the file dialog's labels), where Debian's translations are installed.
        auto qt = std::make_unique<QTranslator>(QCoreApplication::instance());
        if (qt->load(QStringLiteral("qtbase_") + language,
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
            qt->load(QStringLiteral("qtbase_") + language.section(QLatin1Char('_'), 0, 0),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            qts = qt.release();
            QCoreApplication::installTranslator(qts);
        }
        return QFileInfo(ours->filePath()).completeBaseName().mid(int(std::strlen("notara_")));
    }
    return {};
}

} // namespace notara
