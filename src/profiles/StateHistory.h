#pragma once

#include <QString>
#include <QStringList>

// The undo/redo history of a design: a linear list of profile texts, oldest first, and the
// index of the one the controls show. It holds at most numberOfStates + 1 entries; once full,
// each new entry pushes the oldest out. A new entry drops the redo entries after the current
// one. Stepping through the history must not add entries, so the caller asks the history to
// skip the one record that the resulting preview will request.
class StateHistory {
public:
    explicit StateHistory(int numberOfStates = 50);

    // Records the state as the new current entry, unless a record is to be skipped: then it
    // only stops skipping.
    void RecordState(const QString& state);

    // Starts afresh with the state as the only entry and skips the next record.
    void RestartHistory(const QString& state);

    // Moves one entry back or forward and returns true, or returns false at either end of the
    // history, where the index does not move. The caller then puts the current entry back
    // into the controls.
    bool Undo();
    bool Redo();

    // The next RecordState records nothing.
    void SkipNextRecord() { m_needToSaveState = false; }

    // The names are the editor's documented ones, kept as other tools and notes spell them:
    // the history's entries are profile texts, oldest first, and currenState (sic) is the
    // index of the one shown.
    const QStringList& stateImagesPath() const { return m_stateImagesPath; }
    int numberOfStates() const { return m_numberOfStates; }
    int currenState() const { return m_currenState; }
    bool needToSaveState() const { return m_needToSaveState; }

private:
    QStringList m_stateImagesPath;
    int m_numberOfStates;
    int m_currenState = -1;
    bool m_needToSaveState = true;
};
