#pragma once

#include "store/Records.h"

#include <QString>

namespace kc {

// Where the focus goes after 追加, 更新 and 削除 (option group 入力開始位置).
enum class InputStart { MemberName = 0, Shikona = 1, Picks = 2 };

// The entry window's page and button state: which element is on screen
// (CurrentIndex; ParticipantCount means the blank page for a new entry) and
// which buttons are enabled. The window shows it; tests check it directly.
class EntryFormState
{
public:
    explicit EntryFormState(int participantCount = 0);

    int currentIndex() const { return m_current; }
    int participantCount() const { return m_count; }
    bool onBlankPage() const { return m_blank; }
    int shownId() const { return m_current + 100; } // txIndex
    QString caption() const;

    InputStart inputStart() const { return m_inputStart; }
    void setInputStart(InputStart s) { m_inputStart = s; }

    bool addEnabled() const { return m_add; } // cmdAdd
    bool updateEnabled() const { return m_update; } // cmdUpdate
    bool deleteEnabled() const { return m_delete; } // cmdDel
    bool firstEnabled() const { return m_first; } // cmdPP
    bool previousEnabled() const { return m_previous; } // cmdP
    bool nextEnabled() const { return m_next; } // cmdN
    bool lastEnabled() const { return m_last; } // cmdNN

    // Window load: act as cmdNN; without entries << and < are off.
    void load(int participantCount);

    void first(); // cmdPP
    void previous(); // cmdP
    void next(); // cmdN
    void last(); // cmdNN

    // After 追加 with the new row count.
    void afterAdd(int participantCount);
    // After 更新 of element index: << then > pressed ID − 99 times while enabled,
    // i.e. the entry after the updated one, or the blank page.
    void afterUpdate(int index);
    // After 削除 with the row count left: the blank page.
    void afterDelete(int participantCount);
    // After an import of participantCount entries: the first one, if any.
    void afterImport(int participantCount);

private:
    void showEntry(); // ShowEntry of m_current
    void newEntryPage(); // NewEntryPage
    void setBackEnabled(bool on)
    {
        m_first = on;
        m_previous = on;
    }

    int m_count = 0;
    int m_current = 0;
    bool m_blank = true;
    InputStart m_inputStart = InputStart::Shikona;
    bool m_add = true, m_update = false, m_delete = false;
    bool m_first = false, m_previous = false, m_next = false, m_last = false;
};

} // namespace kc
