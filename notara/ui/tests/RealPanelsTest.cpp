// The window with its real panels (QFileDialog, QMessageBox), answered from the keyboard as a
// user would: what a panel's answer starts must not run under the panel's own key handler.
#include "notara/core/model/DataManager.h"
#include "notara/ui/ContentView.h"
#include "notara/ui/tests/support/TestEnvironment.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

using namespace notara;
using namespace notara::test;

namespace {

template <typename Panel> Panel* openPanel(QWidget* window) {
    Panel* found = nullptr;
    const auto visible = [&] {
        for (Panel* panel : window->findChildren<Panel*>())
            if (panel->isVisible()) found = panel;
        return found != nullptr;
    };
    return QTest::qWaitFor(visible, 5000) ? found : nullptr;
}

} // namespace

class RealPanelsTest : public QObject {
    Q_OBJECT

private slots:
    void init() { resetUserState(); }

    void exportAllConfirmedWithReturnLeavesTheWindowAlive() {
        DataManager dataManager;
        ContentView window(dataManager); // the real presenter
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.openSampleNotebook();
        QVERIFY(!dataManager.filteredWorks().empty());

        QTemporaryDir target;
        window.exportAllAction()->trigger();
        QPointer<QFileDialog> panel = openPanel<QFileDialog>(&window);
        QVERIFY(panel);
        auto* nameField = panel->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(nameField);
        panel->setDirectory(target.path());
        nameField->setText(target.path());
        QTest::keyClick(nameField, Qt::Key_Return);

        QMessageBox* outcome = openPanel<QMessageBox>(&window);
        QVERIFY(outcome);
        QVERIFY(outcome->text().contains(QStringLiteral("written to")));
        QTRY_VERIFY(!panel); // the folder panel is gone, and deleted without harm
        QCOMPARE(QDir(target.path()).entryList(QDir::Files).size(), 1);
        QTest::keyClick(outcome, Qt::Key_Return);
        QTRY_VERIFY(!outcome->isVisible());

        // The same key on the Books folder panel: its flow opens an alert of its own.
        QTemporaryDir notBooks;
        window.selectBooksFolderAction()->trigger();
        QPointer<QFileDialog> books = openPanel<QFileDialog>(&window);
        QVERIFY(books);
        auto* booksField = books->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        books->setDirectory(notBooks.path());
        booksField->setText(notBooks.path());
        QTest::keyClick(booksField, Qt::Key_Return);
        QMessageBox* alert = openPanel<QMessageBox>(&window);
        QVERIFY(alert);
        QCOMPARE(alert->windowTitle(), QStringLiteral("Alert!"));
        QTest::keyClick(alert, Qt::Key_Escape);
        QTRY_VERIFY(!books);
        QVERIFY(window.isVisible());
    }
};

NOTARA_UI_TEST_MAIN(RealPanelsTest)
#include "RealPanelsTest.moc"
