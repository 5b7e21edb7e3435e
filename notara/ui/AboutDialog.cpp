#include "notara/ui/AboutDialog.h"

#include "notara/core/model/LibraryVersions.h"
#include "notara/ui/AppIcons.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace notara {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("About Notara"));
    auto* layout = new QVBoxLayout(this);

    auto* icon = new QLabel(this);
    icon->setPixmap(AppIcons::application().pixmap(96, 96));
    icon->setAlignment(Qt::AlignCenter);
    layout->addWidget(icon);

    auto* name = new QLabel(QStringLiteral("Notara"), this);
    QFont big = name->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    name->setFont(big);
    name->setAlignment(Qt::AlignCenter);
    layout->addWidget(name);

    _version = new QLabel(tr("Version %1").arg(QString::fromStdString(LibraryVersions::notara())), this);
    _version->setAlignment(Qt::AlignCenter);
    layout->addWidget(_version);

    auto* summary = new QLabel(tr("Gathers the highlights and notes of your e-books."), this);
    summary->setAlignment(Qt::AlignCenter);
    layout->addWidget(summary);

    auto* licence = new QLabel(tr("Free software under the MIT License."), this);
    licence->setAlignment(Qt::AlignCenter);
    layout->addWidget(licence);

    _libraries =
        new QLabel(tr("Runs with Qt %1, ICU %2 and SQLite %3.")
                       .arg(QString::fromLatin1(qVersion()), QString::fromStdString(LibraryVersions::icu()),
                            QString::fromStdString(LibraryVersions::sqlite())),
                   this);
    _libraries->setAlignment(Qt::AlignCenter);
    _libraries->setForegroundRole(QPalette::PlaceholderText);
    layout->addWidget(_libraries);

    _link = new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(kProjectPage), this);
    _link->setTextFormat(Qt::RichText);
    _link->setOpenExternalLinks(true);
    _link->setAlignment(Qt::AlignCenter);
    layout->addWidget(_link);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString AboutDialog::versionText() const {
    return _version->text();
}

QString AboutDialog::librariesText() const {
    return _libraries->text();
}

} // namespace notara
