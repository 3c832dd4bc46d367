#include "app/dialogs/SymbolPicker.h"

#include "app/dialogs/RecentSymbols.h"
#include "app/dialogs/SymbolGrid.h"
#include "symbols/SymbolLibrary.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QVBoxLayout>

#include <set>

namespace {

enum Kind { AnyKind, OnlySymbols, OnlyEmoji };
// Material Symbols' own default; every symbol once rather than in each of its styles.
const QString kFirstStyle = QStringLiteral("outlined");

QComboBox* Filter(const char* name, const QString& tip) {
    auto* box = new QComboBox;
    box->setObjectName(QString::fromLatin1(name));
    box->setToolTip(tip);
    return box;
}

} // namespace

SymbolPicker::SymbolPicker(const SymbolLibrary& library, QWidget* parent)
    : QDialog(parent), m_library(library), m_search(new QLineEdit),
      m_kind(Filter("symbolKind", tr("Symbols, emoji or both"))),
      m_style(Filter("symbolStyle", tr("The symbols' style; emoji have their own"))),
      m_category(Filter("symbolCategory", tr("The category"))), m_grid(new SymbolGrid),
      m_current(new QLabel) {
    setObjectName(QStringLiteral("symbolPicker"));
    setWindowTitle(tr("Choose Symbol"));
    m_search->setObjectName(QStringLiteral("symbolSearch"));
    m_search->setPlaceholderText(tr("Search symbols and emoji (weather, heart, rocket…)"));
    m_search->setClearButtonEnabled(true);
    m_search->installEventFilter(this);
    m_grid->setObjectName(QStringLiteral("symbolGrid"));
    m_current->setObjectName(QStringLiteral("symbolName"));
    m_current->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* filters = new QHBoxLayout;
    filters->addWidget(m_kind);
    filters->addWidget(m_style);
    filters->addWidget(m_category, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("C&hoose"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_search);
    layout->addLayout(filters);
    layout->addWidget(m_grid, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_current, 1);
    bottom->addWidget(buttons);
    layout->addLayout(bottom);

    FillFilters();
    connect(m_search, &QLineEdit::textChanged, this, &SymbolPicker::ShowMatches);
    for (QComboBox* box : {m_kind, m_style, m_category})
        connect(box, &QComboBox::currentIndexChanged, this, &SymbolPicker::ShowMatches);
    connect(m_grid, &SymbolGrid::currentChanged, this, &SymbolPicker::ShowCurrent);
    connect(m_grid, &SymbolGrid::chosen, this, &SymbolPicker::Choose);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { Choose(m_grid->currentEntry()); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    ShowMatches();
    m_search->setFocus();
}

void SymbolPicker::FillFilters() {
    m_kind->addItem(tr("Symbols and emoji"), AnyKind);
    m_kind->addItem(tr("Symbols"), OnlySymbols);
    m_kind->addItem(tr("Emoji"), OnlyEmoji);
    std::set<QString> styles;
    std::set<QString> categories;
    for (const SymbolEntry* entry : m_library.entries()) {
        if (entry->set->kind() == SymbolKind::Symbol)
            styles.insert(entry->style);
        if (!entry->category.isEmpty())
            categories.insert(entry->category);
    }
    m_style->addItem(tr("Every style"), QString());
    for (const QString& style : styles)
        m_style->addItem(style, style);
    m_style->setCurrentIndex(std::max(0, m_style->findData(kFirstStyle)));
    m_category->addItem(tr("Every category"), QString());
    for (const QString& category : categories)
        m_category->addItem(category, category);
}

bool SymbolPicker::Passes(const SymbolEntry& entry) const {
    const int kind = m_kind->currentData().toInt();
    const bool emoji = entry.set->kind() == SymbolKind::Emoji;
    if ((kind == OnlySymbols && emoji) || (kind == OnlyEmoji && !emoji))
        return false;
    const QString style = m_style->currentData().toString();
    if (!emoji && !style.isEmpty() && entry.style != style)
        return false;
    const QString category = m_category->currentData().toString();
    return category.isEmpty() || entry.category == category;
}

void SymbolPicker::ShowMatches() {
    const QStringList words = m_search->text().split(u' ', Qt::SkipEmptyParts);
    std::vector<const SymbolEntry*> shown;
    QSet<const SymbolEntry*> recent;
    // With no words, the recently used come first; a search ranks by its words alone.
    if (words.isEmpty()) {
        for (const QString& name : RecentSymbols::Names()) {
            const SymbolEntry* entry = m_library.Find(name);
            if (entry && Passes(*entry) && !recent.contains(entry)) {
                shown.push_back(entry);
                recent.insert(entry);
            }
        }
    }
    for (const SymbolEntry* entry : m_library.Search(words)) {
        if (Passes(*entry) && !recent.contains(entry))
            shown.push_back(entry);
    }
    m_grid->setEntries(std::move(shown));
    if (m_grid->entries().empty())
        m_current->setText(m_library.entries().empty() ? m_library.problem()
                                                       : tr("Nothing matches."));
}

void SymbolPicker::ShowCurrent(const SymbolEntry* entry) {
    m_current->setText(
        entry ? QStringLiteral("%1 · %2 · %3")
                    .arg(entry->QualifiedName(),
                         entry->set->kind() == SymbolKind::Emoji ? tr("emoji") : entry->style,
                         entry->set->licence())
              : QString());
}

void SymbolPicker::Choose(const SymbolEntry* entry) {
    if (!entry)
        return;
    RecentSymbols::Add(entry->QualifiedName());
    accept();
    emit symbolChosen(entry);
}

bool SymbolPicker::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_search && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Choose(m_grid->currentEntry());
            return true;
        }
        // Left and Right stay with the text; the keys that move through rows reach the grid.
        if (key != Qt::Key_Left && key != Qt::Key_Right && key != Qt::Key_Home &&
            key != Qt::Key_End && m_grid->MoveByKey(key))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}
