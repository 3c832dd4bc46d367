#include "EditorFixture.h"

namespace {

// The section a control sits in, as its index in reading order; -1 outside the sections.
int GroupIndex(const QWidget* widget) {
    static const QStringList kGroups{"Canvas", "Background", "Icon", "Text", "Output"};
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        if (const auto* group = qobject_cast<const CollapsibleSection*>(w))
            return int(kGroups.indexOf(group->title()));
    }
    return -1;
}

} // namespace

// The editor window as it starts: every control at its default, one preview, one history
// entry; where the controls are and how the keyboard moves through them.
class tst_EditorWindow : public QObject {
    Q_OBJECT

private slots:
    void startsWithTheDefaultDesignAndOneHistoryEntry() {
        EditorFixture editor;
        ViewController* vc = editor.controller();
        const EditorControls& c = editor.controls();
        const QString defaults = MakeProfileText(DesignSettings{});
        QCOMPARE(editor.Renders(), 1);
        QCOMPARE(vc->MakeProfileText(), defaults);
        QCOMPARE(vc->history().stateImagesPath(), QStringList{defaults});
        // The first preview was not recorded a second time, and the next one will be.
        QVERIFY(vc->history().needToSaveState());
        QCOMPARE(c.imageViewIcon->image().size(), QSize(1024, 1024));
        QVERIFY(c.progressIndicator->isHidden());
        // What the profile text does not show: the font's name, the quality controls (PNG
        // takes no quality) and the steppers.
        QCOMPARE(c.comboFontType->currentText(), QStringLiteral("Marker Felt"));
        QVERIFY(!c.textFieldQuality->isEnabled() && !c.stepperQuality->isEnabled());
        for (Stepper* stepper : editor.window->findChildren<Stepper*>()) {
            const QString field = stepper->objectName().replace("stepper", "textField");
            QCOMPARE(stepper->value(), editor.Find<QLineEdit>(field)->text().toDouble());
        }
    }

    // Tab moves through the groups in reading order and, within each design group, row by row
    // from the top, left to right within a row.
    void tabFollowsTheRowsOnScreen() {
        EditorFixture editor;
        editor.OpenAllSections();
        QVERIFY(QTest::qWaitForWindowActive(editor.window.get()));
        editor.controls().textFieldCanvasWidth->setFocus();
        QList<QWidget*> chain{QApplication::focusWidget()};
        while (chain.size() < 200) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            if (QApplication::focusWidget() == chain.first())
                break;
            chain.append(QApplication::focusWidget());
        }
        QSet<int> groupsSeen{GroupIndex(chain.first())};
        for (qsizetype i = 1; i < chain.size(); ++i) {
            const QWidget* before = chain[i - 1];
            const QWidget* after = chain[i];
            const QString pair = before->objectName() + " -> " + after->objectName();
            const int group = GroupIndex(after);
            groupsSeen.insert(group);
            if (group < 0 || GroupIndex(before) < 0)
                continue;
            QVERIFY2(GroupIndex(before) <= group, qPrintable(pair));
            // The output group is laid out in columns, one per size set.
            if (group != GroupIndex(before) || group == 4)
                continue;
            const QRect a(before->mapTo(editor.window.get(), QPoint()), before->size());
            const QRect b(after->mapTo(editor.window.get(), QPoint()), after->size());
            const int tolerance = std::min(a.height(), b.height()) / 2;
            const int rise = b.center().y() - a.center().y();
            QVERIFY2(rise > tolerance || (std::abs(rise) <= tolerance && b.left() > a.left()),
                     qPrintable(pair));
        }
        for (int group = 0; group < 5; ++group)
            QVERIFY(groupsSeen.contains(group));
    }

    // At the smallest window size every control can be scrolled into view, and the room a
    // larger window gives goes to the preview, which stays square.
    void smallWindowScrollsLargeWindowGrowsThePreview() {
        EditorFixture editor;
        editor.OpenAllSections();
        MainWindow& window = *editor.window;
        auto* panel = window.findChild<QScrollArea*>("scrollAreaSettings");
        QVERIFY(panel);
        window.resize(800, 600);
        QTRY_COMPARE(window.size(), QSize(800, 600));
        const QRegularExpression outlet(
            "^(check|radio|slider|colorWell|textField|stepper|combo|button)");
        const QList<QWidget*> controls = panel->widget()->findChildren<QWidget*>(outlet);
        QCOMPARE(controls.size(), 56 + 31 + 3); // with the size check boxes and the buttons
        const QRect viewport(panel->viewport()->mapTo(&window, QPoint()),
                             panel->viewport()->size());
        QVERIFY(window.rect().contains(viewport));
        for (QWidget* control : controls) {
            // A line edit asks for its cursor only; a margin of its height shows all of it.
            panel->ensureWidgetVisible(control, 0, control->height());
            QCoreApplication::processEvents();
            const QRect at(control->mapTo(&window, QPoint()), control->size());
            QVERIFY2(viewport.contains(at), qPrintable(control->objectName()));
        }

        const CustomImageView* preview = editor.controls().imageViewIcon;
        const QSize small = preview->size();
        const int panelWidth = panel->width();
        QVERIFY(std::min(small.width(), small.height()) >= 240);
        window.resize(1600, 1100);
        QTRY_COMPARE(window.size(), QSize(1600, 1100));
        QCOMPARE(panel->width(), panelWidth);
        QVERIFY(preview->width() >= small.width() + 700);
        QVERIFY(preview->height() >= small.height() + 400);
    }
};

QTEST_MAIN(tst_EditorWindow)
#include "tst_EditorWindow.moc"
