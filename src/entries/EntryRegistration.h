#pragma once

#include "entries/EntryForm.h"
#include "entries/EntryValidation.h"

#include <QString>
#include <vector>

namespace kc {

class Contest;

// 追加, 更新, 削除 and the close of registration on one contest. Each action
// is one unit of work: the entry array, entry00, Entry.Dat and (when the phase
// changes) Credit.Dat move together, so a crash never loses what was typed.
class EntryRegistration
{
public:
    explicit EntryRegistration(Contest &contest);

    struct AddResult
    {
        ValidationResult validation;
        int index = -1; // the new element (ID index + 100)
    };

    // Why entries cannot be registered now (the window is not available), or empty.
    QString closedReason() const;

    ValidationResult validate(const EntryForm &form) const;
    AddResult add(const EntryForm &form);
    // 更新 of element `index`; which entry the window shows next is its own affair.
    ValidationResult update(int index, const EntryForm &form);
    // 追加 of many applications as one action: all are added or none. The forms
    // must have passed validate(); false (nothing added) when they would not fit.
    bool addAll(const std::vector<EntryForm> &forms);
    // Asks "現在表示の … さんを削除します。"; false when answered No.
    bool remove(int index);
    // Closing the window: Entry.Dat once more and phase 3 once someone is registered.
    void close();

    // ShowEntry: the boxes for element index.
    EntryForm formOf(int index) const;
    int participantCount() const;

    static QString deleteQuestion(const QString &shikona);
    static QString fullMessage(); // the table holds 300 entries

private:
    // Runs one action and saves Entry.Dat, in one unit of work.
    template<typename F> void transact(F &&action);
    void tellCuts(const EntryForm &form);
    void markRegistered();

    Contest &m_contest;
};

} // namespace kc
