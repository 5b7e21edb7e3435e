// What a desktop user expects of the window: an About box with the versions in use, and the
// window's size, place and splitter kept from one launch to the next.
#include "notara/core/model/LibraryVersions.h"
#include "notara/ui/AboutDialog.h"
#include "notara/ui/tests/support/TestEnvironment.h"
#include "notara/ui/tests/support/WindowFixture.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QSplitter>
#include <QTest>

using namespace notara;
using namespace notara::test;

class DesktopConventionsTest : public QObject {
    Q_OBJECT

private slots:
    void init() { resetUserState(); }

    void theAboutBoxTellsVersionsLicenceAndProjectPage() {
        WindowFixture fixture;
        QVERIFY(fixture.open());
        ContentView& window = fixture.window();
        QCOMPARE(window.aboutAction()->text(), QStringLiteral("About Notara"));
        QCOMPARE(window.actionsMenu()->actions().last(), window.aboutAction()); // after the other entries
        window.aboutAction()->trigger();
        AboutDialog* about = window.aboutDialog();
        QVERIFY(about && about->isVisible());
        QCOMPARE(about->versionText(),
                 QStringLiteral("Version ") + QString::fromStdString(LibraryVersions::notara()));
        QVERIFY(about->librariesText().contains(QString::fromLatin1(qVersion())));
        QVERIFY(about->librariesText().contains(QStringLiteral("ICU ") +
                                                QString::fromStdString(LibraryVersions::icu())));
        QVERIFY(about->librariesText().contains(QStringLiteral("SQLite ") +
                                                QString::fromStdString(LibraryVersions::sqlite())));
        QVERIFY(about->findChildren<QLabel*>().size() > 4);
        bool licence = false;
        for (QLabel* label : about->findChildren<QLabel*>())
            licence = licence || label->text().contains(QStringLiteral("MIT License"));
        QVERIFY(licence);
        QVERIFY(about->projectLink()->text().contains(AboutDialog::kProjectPage));
        about->close();
        window.aboutAction()->trigger(); // the same box again
        QCOMPARE(window.aboutDialog(), about);
        QVERIFY(about->isVisible());
        QVERIFY(!LibraryVersions::icu().empty() && !LibraryVersions::sqlite().empty());
    }

    void theWindowComesBackWhereItWasLeft() {
        QByteArray splitterState;
        {
            WindowFixture fixture;
            QVERIFY(fixture.open());
            fixture.window().resize(900, 640);
            QCoreApplication::processEvents();
            splitterState = fixture.window().splitter()->saveState();
            fixture.window().close();
        }
        WindowFixture again;
        QCOMPARE(again.window().size(), QSize(900, 640));
        QCOMPARE(again.window().splitter()->saveState(), splitterState);

        resetUserState(); // nothing remembered: the first launch's size
        WindowFixture fresh;
        QCOMPARE(fresh.window().size(), QSize(1100, 720));
    }
};

NOTARA_UI_TEST_MAIN(DesktopConventionsTest)
#include "DesktopConventionsTest.moc"
