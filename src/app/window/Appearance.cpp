#include "app/window/Appearance.h"

#include "app/window/DesktopColorScheme.h"

#include <QActionGroup>
#include <QApplication>
#include <QMenu>
#include <QPalette>
#include <QSettings>
#include <QStyle>

namespace {

const QString kSettingsKey = QStringLiteral("view/appearance");

// The desktop's palette, as the application had it before any other was set.
const QPalette& SystemPalette() {
    static const QPalette palette = QApplication::palette();
    return palette;
}

QPalette DarkPalette() {
    QPalette dark;
    const QColor window(45, 45, 48);
    const QColor base(30, 30, 32);
    const QColor text(230, 230, 230);
    dark.setColor(QPalette::Window, window);
    dark.setColor(QPalette::WindowText, text);
    dark.setColor(QPalette::Base, base);
    dark.setColor(QPalette::AlternateBase, window);
    dark.setColor(QPalette::ToolTipBase, base);
    dark.setColor(QPalette::ToolTipText, text);
    dark.setColor(QPalette::PlaceholderText, QColor(140, 140, 140));
    dark.setColor(QPalette::Text, text);
    dark.setColor(QPalette::Button, QColor(58, 58, 62));
    dark.setColor(QPalette::ButtonText, text);
    dark.setColor(QPalette::BrightText, Qt::white);
    dark.setColor(QPalette::Light, QColor(80, 80, 84));
    dark.setColor(QPalette::Midlight, QColor(66, 66, 70));
    dark.setColor(QPalette::Mid, QColor(90, 90, 95));
    dark.setColor(QPalette::Dark, QColor(20, 20, 22));
    dark.setColor(QPalette::Shadow, Qt::black);
    dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    dark.setColor(QPalette::Link, QColor(90, 160, 240));
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        dark.setColor(QPalette::Disabled, role, QColor(120, 120, 120));
    return dark;
}

} // namespace

namespace Appearance {

void Apply(Choice choice) {
    SystemPalette(); // taken before the first change
    switch (choice) {
    case Light:
        QApplication::setPalette(QApplication::style()->standardPalette());
        break;
    case Dark:
        QApplication::setPalette(DarkPalette());
        break;
    case System:
        QApplication::setPalette(DesktopColorScheme::PrefersDark(DesktopColorScheme::Read())
                                     ? DarkPalette()
                                     : SystemPalette());
        break;
    }
}

void InstallMenu(QMenu& view) {
    QMenu* menu = view.addMenu(QObject::tr("&Appearance"));
    auto* group = new QActionGroup(menu);
    const Choice saved = Choice(QSettings().value(kSettingsKey, System).toInt());
    const std::pair<Choice, QString> choices[] = {{System, QObject::tr("&System")},
                                                  {Light, QObject::tr("&Light")},
                                                  {Dark, QObject::tr("&Dark")}};
    for (const auto& entry : choices) {
        const Choice choice = entry.first;
        QAction* action = menu->addAction(entry.second);
        action->setObjectName(QStringLiteral("actionAppearance%1").arg(int(choice)));
        action->setCheckable(true);
        action->setChecked(choice == saved);
        group->addAction(action);
        QObject::connect(action, &QAction::triggered, menu, [choice] {
            QSettings().setValue(kSettingsKey, int(choice));
            Apply(choice);
        });
    }
    Apply(saved);
    // System follows the desktop as the user switches it between light and dark.
    DesktopColorScheme::Watch([] {
        if (Choice(QSettings().value(kSettingsKey, System).toInt()) == System)
            Apply(System);
    });
}

} // namespace Appearance
