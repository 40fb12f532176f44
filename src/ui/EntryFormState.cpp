#include "ui/EntryFormState.h"

namespace kc {

EntryFormState::EntryFormState(int participantCount)
{
    load(participantCount);
}

QString EntryFormState::caption() const
{
    return m_blank ? QStringLiteral("申込受付 [新規登録]")
                   : QStringLiteral("申込受付 [登録内容変更]");
}

void EntryFormState::load(int participantCount)
{
    m_count = participantCount;
    m_current = 0;
    last();
    if (m_count == 0)
        setBackEnabled(false);
}

void EntryFormState::showEntry()
{
    m_blank = false;
    m_next = true;
    m_last = true;
    m_delete = true;
    m_update = true;
    m_add = false;
    if (m_current == kEntryCapacity - 1) {
        m_next = false;
        m_last = false;
    }
}

void EntryFormState::newEntryPage()
{
    m_current = m_count;
    m_blank = true;
    m_next = false;
    m_last = false;
    m_delete = false;
    m_update = false;
    m_add = true;
}

void EntryFormState::first()
{
    if (m_count == 0) {
        // There is no entry to show: the blank page stays.
        newEntryPage();
        setBackEnabled(false);
        return;
    }
    m_current = 0;
    showEntry();
    setBackEnabled(false);
}

void EntryFormState::previous()
{
    if (m_current <= 0)
        return;
    --m_current;
    showEntry();
    if (m_current == 0)
        setBackEnabled(false);
}

void EntryFormState::next()
{
    setBackEnabled(true);
    ++m_current;
    if (m_current >= m_count)
        newEntryPage();
    else
        showEntry();
}

void EntryFormState::last()
{
    setBackEnabled(true);
    if (m_count >= kEntryCapacity) {
        m_current = m_count - 1;
        showEntry();
    } else {
        newEntryPage();
    }
}

void EntryFormState::afterAdd(int participantCount)
{
    m_count = participantCount;
    m_current = m_count - 1;
    setBackEnabled(true);
    if (m_count < kEntryCapacity)
        newEntryPage();
    else
        showEntry();
}

void EntryFormState::afterUpdate(int index)
{
    first();
    const int presses = index + 100 - 99;
    for (int i = 0; i < presses && m_next; ++i)
        next();
    if (m_count > 0)
        setBackEnabled(true);
}

void EntryFormState::afterDelete(int participantCount)
{
    m_count = participantCount;
    // With nobody left, << would show an entry that no longer exists.
    setBackEnabled(m_count > 0);
    newEntryPage();
}

void EntryFormState::afterImport(int participantCount)
{
    m_count = participantCount;
    if (m_count >= 1)
        first();
    else
        newEntryPage();
}

} // namespace kc
