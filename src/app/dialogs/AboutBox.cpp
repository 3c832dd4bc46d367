#include "app/dialogs/AboutBox.h"

#include "symbols/SymbolLibrary.h"

#include <QMessageBox>
#include <QObject>

namespace AboutBox {

void Open(QWidget* window) {
    auto* box = new QMessageBox(window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setObjectName(QStringLiteral("aboutBox"));
    box->setWindowTitle(QObject::tr("About Sigilon"));
    box->setIconPixmap(window ? window->windowIcon().pixmap(64) : QPixmap());
    box->setText(QStringLiteral("<b>Sigilon %1</b>").arg(QStringLiteral(SIGILON_VERSION)));
    // The library's sets keep their own licences: each is named here, its text in the details.
    QString sets;
    QString licences;
    for (const auto& set : SymbolLibrary::Installed().sets()) {
        sets += QObject::tr("<br>%1 by %2, %3").arg(set->title(), set->author(), set->licence());
        licences += set->title() + QStringLiteral("\n\n") + set->LicenceText() + u'\n';
    }
    box->setInformativeText(
        QObject::tr("An editor for application icons and logos.<br><br>"
                    "Licensed under the GNU General Public License, version 3 or later.<br><br>"
                    "Built on Qt %1, OpenJPEG, giflib, libimagequant, libdeflate and zlib.")
            .arg(QString::fromLatin1(qVersion())) +
        (sets.isEmpty()
             ? QString()
             : QObject::tr("<br><br>Symbols and emoji of the built-in library:") + sets));
    box->setDetailedText(licences);
    box->open();
}

} // namespace AboutBox
