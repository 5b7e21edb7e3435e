#include "notara/ui/CoreTexts.h"

#include "notara/core/sources/Sources.h"

#include <QCoreApplication>
#include <QStringList>

namespace notara {

namespace {

constexpr const char* kContext = "notara::CoreTexts";

// Listed so that lupdate collects them; each must stay the core's text to the letter.
[[maybe_unused]] constexpr const char* kTexts[] = {
    QT_TRANSLATE_NOOP("notara::CoreTexts", "Unable to find Annotation Database!"),
    QT_TRANSLATE_NOOP("notara::CoreTexts", "Unable to find Library Database!"),
    QT_TRANSLATE_NOOP(
        "notara::CoreTexts",
        "Recent highlights may be missing: the Books databases were copied without their -wal "
        "files. Copy the whole Data folder from the Mac, including the files ending in -wal and "
        "-shm."),
    QT_TRANSLATE_NOOP("notara::CoreTexts", "Apple Books"),
    QT_TRANSLATE_NOOP("notara::CoreTexts", "Kindle notebook"),
};

} // namespace

QString CoreTexts::translated(std::string_view text) {
    QStringList lines =
        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).split(QLatin1Char('\n'));
    for (QString& line : lines) {
        if (!line.isEmpty()) line = QCoreApplication::translate(kContext, line.toUtf8().constData());
    }
    return lines.join(QLatin1Char('\n'));
}

QString CoreTexts::sourceName(SourceKind kind) {
    return translated(Sources::of(kind).displayName);
}

} // namespace notara
