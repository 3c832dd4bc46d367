#pragma once

#include <QWidget>

class QHBoxLayout;
class QToolButton;

// One section of the settings panel: a header that opens and closes it, above the section's
// controls. Each section remembers whether it is open across runs, under its title.
class CollapsibleSection : public QWidget {
    Q_OBJECT

public:
    // `body` holds the section's controls; open when the section starts without a memory.
    CollapsibleSection(const QString& title, QWidget* body, bool openByDefault,
                       QWidget* parent = nullptr);

    QString title() const;
    bool isOpen() const;
    void setOpen(bool open);
    // The width the section's controls need, open or not.
    int bodyWidth() const;
    // Puts `widget` at the right end of the header, where it stays in view while the section
    // is closed; clicking it leaves the section as it is.
    void addHeaderWidget(QWidget* widget);
    // Marks the section as the one the canvas's selected layer is edited in.
    void setHighlighted(bool highlighted);
    bool highlighted() const { return m_highlighted; }

private:
    QString SettingsKey() const;

    QToolButton* m_header;
    QHBoxLayout* m_headerRow;
    QWidget* m_body;
    bool m_highlighted = false;
};
