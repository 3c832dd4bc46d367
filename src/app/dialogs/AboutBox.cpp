#include "app/dialogs/AboutBox.h"

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
    box->setInformativeText(
        QObject::tr("An editor for application icons and logos.<br><br>"
                    "Licensed under the GNU General Public License, version 3 or later.<br><br>"
                    "Built on Qt %1, OpenJPEG, giflib, libimagequant, libdeflate and zlib.")
            .arg(QString::fromLatin1(qVersion())));
    box->open();
}

} // namespace AboutBox
