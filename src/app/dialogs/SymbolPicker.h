#pragma once

#include <QDialog>

#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class SymbolGrid;
class SymbolLibrary;
struct SymbolEntry;

// Icon > Choose Symbol…: the library's symbols and emoji in a grid, searched as the user
// types (the search field has the focus; the arrow keys and Enter reach the grid from it),
// narrowed to symbols or emoji, a style and a category, the recently used ones first. Enter,
// a double-click or Choose emits symbolChosen and closes the dialog.
class SymbolPicker : public QDialog {
    Q_OBJECT

public:
    SymbolPicker(const SymbolLibrary& library, QWidget* parent = nullptr);

signals:
    void symbolChosen(const SymbolEntry* entry);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillFilters();
    void ShowMatches();
    bool Passes(const SymbolEntry& entry) const;
    void ShowCurrent(const SymbolEntry* entry);
    void Choose(const SymbolEntry* entry);

    const SymbolLibrary& m_library;
    QLineEdit* m_search;
    QComboBox* m_kind;
    QComboBox* m_style;
    QComboBox* m_category;
    SymbolGrid* m_grid;
    QLabel* m_current;
};
