#pragma once

#include <QWidget>

class QPushButton;

namespace notara {

// What the window shows before anything is loaded: what Notara does and the ways to start (each
// of the four sources and the sample), so that a first launch is never an empty window.
class WelcomePanel : public QWidget {
    Q_OBJECT

public:
    explicit WelcomePanel(QWidget* parent = nullptr);

    QPushButton* booksButton() const { return _books; }
    QPushButton* kindleButton() const { return _kindle; }
    QPushButton* sampleButton() const { return _sample; }
    QPushButton* clippingsButton() const { return _clippings; }
    QPushButton* koboButton() const { return _kobo; }

signals:
    void selectBooksFolder();
    void selectKindleExport();
    void openSampleNotebook();
    void selectClippings();
    void selectKobo();

private:
    QPushButton* _books = nullptr;
    QPushButton* _kindle = nullptr;
    QPushButton* _sample = nullptr;
    QPushButton* _clippings = nullptr;
    QPushButton* _kobo = nullptr;
};

} // namespace notara
