// The symbol picker opened from the menu or the button, searched, chosen with the keyboard or
// the mouse, and the chosen entry taken as an image file is.

#include "EditorFixture.h"

#include "app/canvas/InfoProvider.h"
#include "app/dialogs/SymbolGrid.h"
#include "app/dialogs/SymbolPicker.h"
#include "app/inspector/ColorWell.h"
#include "render/ImageTools.h"
#include "symbols/SymbolSet.h"

namespace {

// The picker on screen, opened as the user opens it.
SymbolPicker* OpenPicker(EditorFixture& editor, bool byButton) {
    if (byButton)
        UserInput::Click(editor.controls().buttonChooseSymbol);
    else
        editor.Find<QAction>(QStringLiteral("actionChooseSymbol"))->trigger();
    for (SymbolPicker* picker : editor.window->findChildren<SymbolPicker*>())
        if (picker->isVisible())
            return picker;
    return nullptr;
}

QString Chosen(SymbolPicker* picker) {
    const SymbolEntry* entry = picker->findChild<SymbolGrid*>()->currentEntry();
    return entry ? QStringLiteral("symbol:") + entry->QualifiedName() : QString();
}

// Whether the design's icon layer is drawn: the picture differs from the one without it.
bool IconLayerDrawn(const IconDesign& design) {
    IconDesign without = design;
    without.iconImage = QImage();
    without.iconVector.reset();
    return !TestImages::FirstDifference(ImageTools::RenderIcon(design),
                                        ImageTools::RenderIcon(without), 8)
                .isEmpty();
}

} // namespace

class tst_SymbolPicker : public QObject {
    Q_OBJECT

private slots:
    void init() {
        UseOwnSettings();
        QSettings().remove("symbols");
        InfoProvider::Shared().isIconAdded = false;
    }

    // A symbol is drawn in the tint, which keeps its colour; opened again, the picker shows the
    // chosen one first.
    void symbolChosenWithTheKeyboard() {
        EditorFixture editor;
        const EditorControls& c = editor.controls();
        const QColor tint = c.colorWellIconColor->color().toQColor();
        SymbolPicker* picker = OpenPicker(editor, false);
        QVERIFY(picker);
        auto* search = picker->findChild<QLineEdit*>(QStringLiteral("symbolSearch"));
        QCOMPARE(picker->focusWidget(), search);
        QTest::keyClicks(search, "cloud");
        QTest::keyClick(search, Qt::Key_Down);
        const QString chosen = Chosen(picker);
        QVERIFY2(chosen.startsWith("symbol:material/") && chosen.contains("cloud"),
                 qPrintable(chosen));
        const int renders = editor.Renders();
        QTest::keyClick(search, Qt::Key_Return);
        QVERIFY(!picker->isVisible());
        QVERIFY(editor.WaitForRenders(renders + 1) && editor.WaitUntilIdle());

        QCOMPARE(c.textFieldIconImage->text(), chosen);
        QVERIFY(!c.checkUseImageColors->isChecked());
        QCOMPARE(c.colorWellIconColor->color().toQColor(), tint);
        const IconDesign design = editor.log->LastDesign();
        QVERIFY(design.iconVector);
        QVERIFY(!design.useImageColors);
        QVERIFY(IconLayerDrawn(design));
        QVERIFY(editor.Title().endsWith(u'*'));
        QVERIFY(editor.prompter.questions.isEmpty());

        SymbolPicker* again = OpenPicker(editor, true);
        QVERIFY(again);
        QCOMPARE(Chosen(again), chosen);
        again->reject();
    }

    // An emoji keeps its own colours; over an image already loaded the replace question is
    // asked, and "No" keeps the image. A double-click chooses.
    void emojiChosenWithTheMouseAfterTheQuestion() {
        EditorFixture editor;
        const EditorControls& c = editor.controls();
        editor.controller()->LoadIconImage("symbol:material/home");
        QVERIFY(editor.WaitUntilIdle());
        QVERIFY(c.checkUseImageColors->isChecked());
        for (int answer : {kNo, kYes}) {
            editor.prompter.answers = {answer};
            SymbolPicker* picker = OpenPicker(editor, true);
            QVERIFY(picker);
            auto* kind = picker->findChild<QComboBox*>(QStringLiteral("symbolKind"));
            kind->setCurrentIndex(kind->findText("Emoji"));
            QTest::keyClicks(picker->findChild<QLineEdit*>(QStringLiteral("symbolSearch")), "sun");
            auto* grid = picker->findChild<SymbolGrid*>();
            QCOMPARE(Chosen(picker), "symbol:noto/sun");
            QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, QPoint(32, 32));
            QVERIFY(!picker->isVisible());
            QVERIFY(editor.WaitUntilIdle());
            QVERIFY(editor.prompter.Messages().endsWith(kReplaceQuestion));
            QCOMPARE(c.textFieldIconImage->text(),
                     answer == kYes ? "symbol:noto/sun" : "symbol:material/home");
            QVERIFY(c.checkUseImageColors->isChecked());
        }
        QCOMPARE(editor.prompter.questions.size(), 2);
        QVERIFY(editor.log->LastDesign().useImageColors);
        QVERIFY(IconLayerDrawn(editor.log->LastDesign()));
    }
};

QTEST_MAIN(tst_SymbolPicker)
#include "tst_SymbolPicker.moc"
