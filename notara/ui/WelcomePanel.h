#pragma once

#include <QWidget>

class QPushButton;

namespace notara {

// What the window shows before anything is loaded: what Notara does and the three ways to
// start, so that a first launch is never an empty window.
class WelcomePanel : public QWidget {
    Q_OBJECT

public:
    explicit WelcomePanel(QWidget* parent = nullptr);

    QPushButton* booksButton() const { return _books; }
    QPushButton* kindleButton() const { return _kindle; }
    QPushButton* sampleButton() const { return _sample; }

signals:
    void selectBooksFolder();
    void selectKindleExport();
    void openSampleNotebook();

private:
    QPushButton* _books = nullptr;
    QPushButton* _kindle = nullptr;
    QPushButton* _sample = nullptr;
};

} // namespace notara
