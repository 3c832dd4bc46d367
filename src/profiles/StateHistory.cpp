#include "profiles/StateHistory.h"

StateHistory::StateHistory(int numberOfStates) : m_numberOfStates(numberOfStates) {}

void StateHistory::RecordState(const QString& state) {
    if (!m_needToSaveState) {
        m_needToSaveState = true;
        return;
    }
    if (m_currenState >= m_numberOfStates) {
        // Full, and the current entry is the newest: the index keeps pointing at the newest.
        m_stateImagesPath.append(state);
        m_stateImagesPath.removeFirst();
        return;
    }
    m_stateImagesPath.resize(m_currenState + 1);
    m_stateImagesPath.append(state);
    ++m_currenState;
}

void StateHistory::RestartHistory(const QString& state) {
    m_stateImagesPath = QStringList{state};
    m_currenState = 0;
    m_needToSaveState = false;
}

bool StateHistory::Undo() {
    if (m_currenState < 1)
        return false;
    --m_currenState;
    return true;
}

bool StateHistory::Redo() {
    if (m_stateImagesPath.size() < 2 || m_currenState == m_stateImagesPath.size() - 1)
        return false;
    ++m_currenState;
    return true;
}
