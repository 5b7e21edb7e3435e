#pragma once

#include <QDialog>

class QLabel;

namespace notara {

// "About Notara": the version, the licence, the libraries in use and where the project lives.
class AboutDialog : public QDialog {
    Q_OBJECT

public:
    static inline const QString kProjectPage = QStringLiteral("https://github.com/notara/notara");

    explicit AboutDialog(QWidget* parent = nullptr);

    QString versionText() const;
    QString librariesText() const;
    QLabel* projectLink() const { return _link; }

private:
    QLabel* _version = nullptr;
    QLabel* _libraries = nullptr;
    QLabel* _link = nullptr;
};

} // namespace notara
