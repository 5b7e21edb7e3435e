// The e-reader sources in the real window: both Actions entries, what the message bar says,
// and the offer of a device mounted as a volume (a folder laid out as the device).
#include "notara/core/model/Work.h"
#include "notara/tests/KoboStore.h"
#include "notara/ui/MessageBar.h"
#include "notara/ui/tests/support/TestEnvironment.h"
#include "notara/ui/tests/support/WindowFixture.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <fstream>

using namespace notara;
using namespace notara::test;

namespace {

std::string clippings() {
    auto entry = [](const std::string& title, const std::string& meta, const std::string& text) {
        return title + "\r\n" + meta + "\r\n\r\n" + text + "\r\n==========\r\n";
    };
    return entry("Salt Roads (Hart, Lena)",
                 "- Your Highlight on Location 10-12 | Added on Friday, June 6, 2025 8:01:10 PM",
                 "The road remembered her.") +
           entry("Salt Roads (Hart, Lena)",
                 "- Your Highlight on Location 40-41 | Added on Friday, June 6, 2025 8:02:10 PM",
                 "Twice a day.") +
           entry("Among the Reeds (Reyes, A.)",
                 "- Your Highlight on Location 5 | Added on Friday, June 6, 2025 8:03:10 PM", "Reeds bend.") +
           entry("Among the Reeds (Reyes, A.)", "- Your Bookmark on Location 9 | Added on Friday", "");
}

// A folder laid out as a mounted Kindle or Kobo; returns the device's file.
std::filesystem::path makeDevice(const QString& name, bool kindle) {
    const std::filesystem::path root = (QDir::homePath() + QStringLiteral("/media/") + name).toStdString();
    std::filesystem::remove_all(root);
    if (kindle) {
        std::filesystem::create_directories(root / "documents");
        std::ofstream(root / "documents" / "My Clippings.txt", std::ios::binary) << clippings();
        return root / "documents" / "My Clippings.txt";
    }
    const auto file = root / ".kobo" / "KoboReader.sqlite";
    KoboStore db(file, KoboStore::Generation::Colour);
    db.addContent("book-1", "6", "Stillwater Harbour", "Ada Okafor");
    KoboBookmark mark;
    mark.id = "m1";
    mark.volumeID = "book-1";
    mark.contentID = "book-1!OEBPS!text.xhtml";
    mark.text = "The lighthouse.";
    mark.annotation = "Its note.";
    mark.type = "note";
    db.addBookmark(mark);
    return file;
}

QString qPath(const std::filesystem::path& path) {
    return QString::fromStdString(path.native());
}

} // namespace

class EReaderImportTest : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowFixture> fixture;

    MessageBar& bar() { return *fixture->window().messageBar(); }

private slots:
    void init() {
        resetUserState();
        fixture = std::make_unique<WindowFixture>();
        QVERIFY(fixture->open());
        // Looked at by hand here: the window's own timer would look on a thread meanwhile.
        fixture->window().deviceTimer()->stop();
        fixture->window().setMountPoints([] { return std::vector<std::filesystem::path>{}; });
        fixture->chooseBooksFolder(
            fixture->writeBooksFolder("Data", sampleBooks(), sampleAnnotations()).folder());
    }
    void cleanup() { fixture.reset(); }

    void bothEntriesFollowTheMenusFirstEntries() {
        QStringList texts;
        for (QAction* action : fixture->window().actionsMenu()->actions()) {
            if (!action->isSeparator()) texts << action->text();
        }
        const int hide = texts.indexOf(QStringLiteral("Hide Works with no Annotations"));
        QVERIFY(hide > texts.indexOf(QStringLiteral("Select Kindle Notes Export (.html)")));
        QCOMPARE(texts.indexOf(QStringLiteral("Select Kindle Clippings (My Clippings.txt)")), hide + 1);
        QCOMPARE(texts.indexOf(QStringLiteral("Select Kobo Database (KoboReader.sqlite)")), hide + 2);
    }

    void clippingsReplaceTheListAndTheBarSaysWhatWasRead() {
        ContentView& window = fixture->window();
        const auto file = makeDevice(QStringLiteral("KINDLE"), true);
        const auto root = file.parent_path().parent_path();
        window.setMountPoints([root] { return std::vector<std::filesystem::path>{root}; });
        window.lookForDevices();
        fixture->presenter().fileAnswers.push_back(PanelResult::chosen(qPath(file)));
        window.selectClippingsAction()->trigger();
        QCOMPARE(fixture->presenter().fileStart, qPath(root / "documents"));
        QCOMPARE(fixture->rowTitles(), (QStringList{"Among the Reeds", "Salt Roads"}));
        QCOMPARE(bar().text(), QStringLiteral("2 books, 3 highlights from My Clippings.txt"));
        QCOMPARE(fixture->dataManager().works().size(), std::size_t(3)); // the Books library stays loaded
        fixture->selectRow(1);
        QCOMPARE(window.selectedWork()->annotations.size(), std::size_t(2));
    }

    void aKoboDatabaseIsReadFromACopy() {
        const auto file = makeDevice(QStringLiteral("KOBOeReader"), false);
        const auto before = readAll(file);
        fixture->presenter().fileAnswers.push_back(PanelResult::chosen(qPath(file)));
        fixture->window().selectKoboAction()->trigger();
        QCOMPARE(fixture->presenter().fileStart, QDir::homePath() + QStringLiteral("/Downloads"));
        QCOMPARE(fixture->rowTitles(), QStringList{"Stillwater Harbour"});
        QCOMPARE(bar().text(), QStringLiteral("1 book, 1 highlight from KoboReader.sqlite"));
        QCOMPARE(readAll(file), before);
        QVERIFY(!std::filesystem::exists(file.string() + "-shm")); // never opened in place
    }

    void aBadFileSaysWhyAndKeepsTheList() {
        const QString path = QDir::homePath() + QStringLiteral("/Downloads/My Clippings.txt");
        QFile(path).open(QIODevice::WriteOnly);
        fixture->presenter().fileAnswers.push_back(PanelResult::chosen(path));
        fixture->window().selectClippingsAction()->trigger();
        QVERIFY2(bar().text().startsWith(
                     QStringLiteral("\"My Clippings.txt\" could not be imported. The file is empty.")),
                 qPrintable(bar().text()));
        QCOMPARE(fixture->rowTitles(), (QStringList{"a", "b"}));

        fixture->presenter().fileAnswers.push_back(PanelResult::chosen(path));
        fixture->window().selectKoboAction()->trigger();
        QVERIFY(bar().text().contains(QStringLiteral("not an SQLite file")));
    }

    void aMountedDeviceIsOfferedAndReadOnlyOnClick() {
        ContentView& window = fixture->window();
        const auto kindle = makeDevice(QStringLiteral("Kindle"), true);
        const auto kobo = makeDevice(QStringLiteral("KOBO"), false);
        const std::filesystem::path other = (QDir::homePath() + QStringLiteral("/media/USB")).toStdString();
        std::filesystem::create_directories(other);
        std::vector<std::filesystem::path> mounted{other, kindle.parent_path().parent_path()};
        window.setMountPoints([&mounted] { return mounted; });

        window.lookForDevices();
        QCOMPARE(bar().text(), QStringLiteral("Kindle connected:"));
        QCOMPARE(bar().actionButton()->text(), QStringLiteral("Import Highlights"));
        QCOMPARE(fixture->rowTitles(), (QStringList{"a", "b"})); // offered, not read
        bar().dismiss();
        window.lookForDevices(); // the same device is not offered twice
        QVERIFY(bar().isHidden());

        mounted.push_back(kobo.parent_path().parent_path()); // a volume mounted while the window is open
        window.lookForDevices();
        QCOMPARE(bar().text(), QStringLiteral("Kobo connected:"));
        QTest::mouseClick(bar().actionButton(), Qt::LeftButton);
        QCOMPARE(fixture->rowTitles(), QStringList{"Stillwater Harbour"});
        QCOMPARE(window.connectedDevices().size(), std::size_t(2));

        mounted.pop_back(); // unplugged and plugged in again: offered again
        window.lookForDevices();
        mounted.push_back(kobo.parent_path().parent_path());
        window.lookForDevices();
        QCOMPARE(bar().text(), QStringLiteral("Kobo connected:"));
    }

    void aLookOnItsOwnThreadIsOfferedUnlessThePlacesChangedMeanwhile() {
        ContentView& window = fixture->window();
        const auto root = makeDevice(QStringLiteral("KindleAside"), true).parent_path().parent_path();
        window.setMountPoints([root] { return std::vector<std::filesystem::path>{root}; });
        window.lookForDevicesAside();
        window.setMountPoints([] { return std::vector<std::filesystem::path>{}; }); // before it is told
        QTest::qWait(100);
        QVERIFY(!bar().text().contains(QStringLiteral("connected")));
        window.setMountPoints([root] { return std::vector<std::filesystem::path>{root}; });
        window.lookForDevicesAside();
        QTRY_COMPARE(bar().text(), QStringLiteral("Kindle connected:"));
    }

private:
    static QByteArray readAll(const std::filesystem::path& path) {
        QFile file(qPath(path));
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }
};

NOTARA_UI_TEST_MAIN(EReaderImportTest)
#include "EReaderImportTest.moc"
