// The window in the reader's language: German from a German locale, English unchanged under C
// or when English comes first, and every shipped language loaded and used.
#include "notara/ui/Translations.h"
#include "notara/core/model/DataManager.h"
#include "notara/ui/CoreTexts.h"
#include "notara/ui/WorkDetailView.h"
#include "notara/ui/tests/support/TestEnvironment.h"
#include "notara/ui/tests/support/WindowFixture.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QTest>
#include <QXmlStreamReader>

using namespace notara;
using namespace notara::test;

class TranslationsTest : public QObject {
    Q_OBJECT

private slots:
    void init() { resetUserState(); }
    void cleanup() { Translations::install(QLocale::c()); }

    void aGermanLocaleShowsTheGermanWindow() {
        QCOMPARE(Translations::install(QLocale(QStringLiteral("de_DE"))), QStringLiteral("de"));
        WindowFixture fixture;
        QVERIFY(fixture.open());
        ContentView& window = fixture.window();
        QCOMPARE(window.actionsMenu()->title(), QStringLiteral("Aktionen"));
        QCOMPARE(window.selectBooksFolderAction()->text(), QStringLiteral("Bücher-Ordner auswählen"));
        QCOMPARE(window.exportAllAction()->text(), QStringLiteral("Alle Werke exportieren…"));
        QStringList entries;
        for (QAction* action : window.actionsMenu()->actions())
            if (!action->isSeparator()) entries << action->text();
        QVERIFY(entries.contains(QStringLiteral("Markierungen auf diesem Computer suchen…")));
        QVERIFY(!entries.contains(QStringLiteral("Select Books Folder")));
        // The core's fixed texts the window shows, looked up whole and line by line.
        QVERIFY(CoreTexts::translated(DataManager::missingLogMessage)
                    .startsWith(QStringLiteral("Neuere Markierungen")));
        QCOMPARE(
            CoreTexts::translated("Unable to find Annotation Database!\nUnable to find Library Database!"),
            QStringLiteral("Die Anmerkungsdatenbank wurde nicht gefunden!\nDie Bibliotheksdatenbank wurde "
                           "nicht gefunden!"));
        QCOMPARE(CoreTexts::sourceName(SourceKind::KindleNotebook), QStringLiteral("Kindle-Notizbuch"));
        QCOMPARE(CoreTexts::sourceName(SourceKind::Koreader), QStringLiteral("KOReader")); // a name stays
    }

    void englishStaysAsItIsUnderCOrWhenEnglishComesFirst() {
        QCOMPARE(Translations::install(QLocale::c()), QString());
        {
            WindowFixture fixture;
            QVERIFY(fixture.open());
            QCOMPARE(fixture.window().actionsMenu()->title(), QStringLiteral("Actions"));
            QCOMPARE(fixture.window().selectBooksFolderAction()->text(),
                     QStringLiteral("Select Books Folder"));
            QCOMPARE(
                fixture.window().emptyListLabel()->text(),
                QStringLiteral("Nothing loaded yet.\n\nChoose a Books folder or a Kindle Notebook export, or "
                               "open the sample notebook."));
        }
        QCOMPARE(Translations::install(QLocale(QStringLiteral("en_GB"))), QString());
        QCOMPARE(Translations::install(QLocale(QStringLiteral("de_DE"))), QStringLiteral("de"));
        // A second call replaces the first: back to English leaves no German behind.
        QCOMPARE(Translations::install(QLocale::c()), QString());
        QCOMPARE(CoreTexts::sourceName(SourceKind::KindleNotebook), QStringLiteral("Kindle notebook"));
    }

    void everyShippedLanguageLoadsAndIsUsed() {
        const std::pair<const char*, const char*> languages[] = {
            {"de_AT", "de"}, {"fr_FR", "fr"}, {"es_MX", "es"}, {"ja_JP", "ja"}, {"zh_CN", "zh_CN"}};
        QStringList seen;
        for (const auto& [locale, language] : languages) {
            QCOMPARE(Translations::install(QLocale(QString::fromLatin1(locale))),
                     QString::fromLatin1(language));
            const QString text = WorkDetailView::tr("Select a book to see its highlights");
            QVERIFY2(text != QStringLiteral("Select a book to see its highlights"), locale);
            QVERIFY(!seen.contains(text));
            seen << text;
        }
        // A language with no translation keeps the window English.
        QCOMPARE(Translations::install(QLocale(QStringLiteral("fi_FI"))), QString());
    }

    // A text added to the window without its translations, or a translation that lost one of
    // its arguments, is caught here rather than by a reader.
    void everyTextIsTranslatedWithItsArguments() {
        const QStringList files = QDir(QStringLiteral(NOTARA_TS_DIR)).entryList({QStringLiteral("*.ts")});
        QCOMPARE(files.size(), 5);
        const QRegularExpression argument(QStringLiteral("%\\d"));
        const auto arguments = [&](const QString& text) {
            QStringList found;
            for (const QRegularExpressionMatch& match : argument.globalMatch(text))
                found << match.captured();
            found.sort();
            return found;
        };
        for (const QString& name : files) {
            QFile file(QStringLiteral(NOTARA_TS_DIR "/") + name);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QXmlStreamReader xml(&file);
            QString source;
            int messages = 0;
            while (!xml.atEnd()) {
                if (xml.readNext() != QXmlStreamReader::StartElement) continue;
                if (xml.name() == QLatin1String("source")) {
                    source = xml.readElementText();
                } else if (xml.name() == QLatin1String("translation")) {
                    const bool unfinished =
                        xml.attributes().value(QLatin1String("type")) == QLatin1String("unfinished");
                    const QString translation = xml.readElementText();
                    QVERIFY2(!unfinished && !translation.isEmpty(),
                             qPrintable(name + QStringLiteral(": ") + source));
                    QVERIFY2(arguments(translation) == arguments(source),
                             qPrintable(name + QStringLiteral(": ") + source));
                    ++messages;
                }
            }
            QVERIFY2(!xml.hasError(), qPrintable(name + QStringLiteral(": ") + xml.errorString()));
            QVERIFY(messages > 100);
        }
    }
};

NOTARA_UI_TEST_MAIN(TranslationsTest)
#include "TranslationsTest.moc"
