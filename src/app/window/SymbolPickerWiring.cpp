#include "app/window/SymbolPickerWiring.h"

#include "app/canvas/InfoProvider.h"
#include "app/dialogs/SymbolPicker.h"
#include "app/window/ViewController.h"
#include "symbols/IconSource.h"
#include "symbols/SymbolLibrary.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QMenu>

namespace {

void TakeSymbol(ViewController& controller, Prompter& prompter, const SymbolEntry& entry) {
    if (!InfoProvider::Shared().MayReplaceIcon(prompter))
        return;
    QCheckBox* ownColors = controller.controls().checkUseImageColors;
    const Qt::CheckState before = ownColors->checkState();
    const bool toTint = entry.set->kind() == SymbolKind::Symbol && before == Qt::Checked;
    if (toTint)
        ownColors->setCheckState(Qt::Unchecked);
    controller.LoadIconImage(IconSource::ForSymbol(entry.QualifiedName()),
                             [&controller, ownColors, before, toTint](bool loaded) {
                                 if (!loaded)
                                     ownColors->setCheckState(before);
                                 else if (toTint)
                                     // the switch is an edit of the design, as a click is
                                     controller.MarkAsModified();
                             });
}

} // namespace

void InstallSymbolPicker(QWidget& window, QMenu& iconMenu, ViewController& controller,
                         Prompter& prompter) {
    const EditorControls& controls = controller.controls();
    QAction* chooseImage = iconMenu.addAction(QObject::tr("Choose &Image…"));
    chooseImage->setObjectName(QStringLiteral("actionChooseImage"));
    QObject::connect(chooseImage, &QAction::triggered, &controller,
                     &ViewController::OnSelectIconImage);
    QAction* chooseSymbol = iconMenu.addAction(QObject::tr("Choose &Symbol…"));
    chooseSymbol->setObjectName(QStringLiteral("actionChooseSymbol"));
    chooseSymbol->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Y));
    QObject::connect(chooseSymbol, &QAction::triggered, &window, [&window, &controller, &prompter] {
        auto* picker = new SymbolPicker(SymbolLibrary::Installed(), &window);
        picker->setAttribute(Qt::WA_DeleteOnClose);
        QObject::connect(picker, &SymbolPicker::symbolChosen, &controller,
                         [&controller, &prompter](const SymbolEntry* entry) {
                             TakeSymbol(controller, prompter, *entry);
                         });
        picker->open();
    });
    QObject::connect(controls.buttonChooseSymbol, &QAbstractButton::clicked, chooseSymbol,
                     &QAction::trigger);
    iconMenu.addSeparator();
    QAction* remove = iconMenu.addAction(QObject::tr("&Remove Image"));
    remove->setObjectName(QStringLiteral("actionRemoveImage"));
    QObject::connect(remove, &QAction::triggered, &controller, &ViewController::OnClearIconImage);
}
