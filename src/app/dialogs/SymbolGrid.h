#pragma once

#include <QAbstractScrollArea>
#include <QCache>
#include <QImage>

#include <vector>

struct SymbolEntry;

// A scrolling grid of library entries, each drawn at a readable size with its name as a tip.
// Only the cells in view are drawn, each once (kept in a cache), and a few at a time while
// scrolling fast so that scrolling never waits for a page of drawings. The arrow keys, Page
// Up/Down, Home and End move the current cell; Enter or a double-click chooses it.
class SymbolGrid : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit SymbolGrid(QWidget* parent = nullptr);

    // Shows these entries, the first one current.
    void setEntries(std::vector<const SymbolEntry*> entries);
    const std::vector<const SymbolEntry*>& entries() const { return m_entries; }
    const SymbolEntry* currentEntry() const;

    // Moves the current cell as the key would (arrows, pages, Home, End); false for other keys.
    bool MoveByKey(int key);

    QSize sizeHint() const override;

signals:
    void currentChanged(const SymbolEntry* entry);
    void chosen(const SymbolEntry* entry);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int Columns() const;
    int Rows() const;
    QRect CellRect(int index) const; // in the viewport
    int IndexAt(QPoint point) const; // -1 outside the cells
    void SetCurrent(int index);
    void UpdateScrollRange();
    const QImage* Drawing(const SymbolEntry* entry, bool mayDraw);

    std::vector<const SymbolEntry*> m_entries;
    int m_current = -1;
    QCache<const SymbolEntry*, QImage> m_drawings;
};
