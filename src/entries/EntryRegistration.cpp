#include "entries/EntryRegistration.h"
#include "store/EntryTable.h"

#include "entries/EntryStore.h"
#include "store/Contest.h"
#include "store/Phase.h"
#include "store/RecordSet.h"
#include "store/UnitOfWork.h"

namespace kc {

EntryRegistration::EntryRegistration(Contest &contest) : m_contest(contest) { }

QString EntryRegistration::closedReason() const
{
    return Phase::of(m_contest.rules()).refusal(Action::TakeEntries);
}

QString EntryRegistration::deleteQuestion(const QString &shikona)
{
    return QStringLiteral("現在表示の ") + shikona
        + QStringLiteral(" さんを削除します。 よろしいですか？");
}

QString EntryRegistration::fullMessage()
{
    return QStringLiteral("登録できる参加者は%1名までです。").arg(kEntryCapacity);
}

int EntryRegistration::participantCount() const
{
    return m_contest.participantCount();
}

EntryForm EntryRegistration::formOf(int index) const
{
    return EntryForm::fromRecord(m_contest.entries().at(index), m_contest.rules().pickCount);
}

ValidationResult EntryRegistration::validate(const EntryForm &form) const
{
    return validateEntry(form, m_contest.rules(), m_contest.roster());
}

template<typename F> void EntryRegistration::transact(F &&action)
{
    UnitOfWork work(m_contest);
    action();
    m_contest.saveEntries();
    work.commit();
    m_contest.entryTable().requery();
}

void EntryRegistration::tellCuts(const EntryForm &form)
{
    const QStringList notices = entryCutNotices(form);
    if (!notices.isEmpty())
        m_contest.prompter().tell(
            {notices.join(u'\n'), QStringLiteral("Kachikoshi Cup"), Icon::Information});
}

void EntryRegistration::markRegistered()
{
    if (Phase::of(m_contest.rules()).beforeFirstEntry() && m_contest.participantCount() > 0) {
        Phase::registerFirstEntry(m_contest.rules());
        m_contest.saveRules();
    }
}

EntryRegistration::AddResult EntryRegistration::add(const EntryForm &form)
{
    AddResult out;
    out.validation = validate(form);
    if (!out.validation.ok())
        return out;
    if (m_contest.participantCount() >= kEntryCapacity) {
        out.validation = ValidationResult::fail(3, fullMessage(), EntryBox::None);
        return out;
    }
    const int k = m_contest.participantCount();
    transact([&] {
        const EntryRecord e = storeEntry(form, m_contest.rules(), m_contest.roster());
        m_contest.entries().push_back(e);
        RecordSet rs(m_contest.database(), entrytable::name);
        rs.setSort(entrytable::byId);
        rs.addNew();
        writeEntryRow(rs, e, k, m_contest.roster());
        rs.update();
        markRegistered();
    });
    tellCuts(form);
    out.index = k;
    return out;
}

bool EntryRegistration::addAll(const std::vector<EntryForm> &forms)
{
    if (m_contest.participantCount() + int(forms.size()) > kEntryCapacity)
        return false;
    if (forms.empty())
        return true;
    transact([&] {
        RecordSet rs(m_contest.database(), entrytable::name);
        rs.setSort(entrytable::byId);
        for (const EntryForm &form : forms) {
            const int k = m_contest.participantCount();
            const EntryRecord e = storeEntry(form, m_contest.rules(), m_contest.roster());
            m_contest.entries().push_back(e);
            rs.addNew();
            writeEntryRow(rs, e, k, m_contest.roster());
            rs.update();
        }
        markRegistered();
    });
    return true;
}

ValidationResult EntryRegistration::update(int index, const EntryForm &form)
{
    ValidationResult out = validate(form);
    if (!out.ok())
        return out;
    const int id = index + 100;
    transact([&] {
        // The element restarts from a cleared entry: its day values and totals go to 0.
        m_contest.entries().at(index) = storeEntry(form, m_contest.rules(), m_contest.roster());
        RecordSet rs(m_contest.database(), entrytable::name);
        rs.setSort(entrytable::byId);
        int p = 0;
        for (rs.moveFirst(); !rs.eof(); rs.moveNext(), ++p) {
            if (rs.intValue(entrytable::column::id) != id || p >= m_contest.participantCount())
                continue;
            const EntryRecord &e = m_contest.entries()[p];
            entrytable::writeNames(rs, e);
            rs.setValue(entrytable::column::rank, p + 1);
            entrytable::writePicks(rs, e, m_contest.roster(), kMaxPicks);
            rs.update();
        }
    });
    tellCuts(form);
    return out;
}

bool EntryRegistration::remove(int index)
{
    const int id = index + 100;
    RecordSet rows(m_contest.database(), entrytable::name);
    rows.setSort(entrytable::byId);
    QString shikona;
    for (rows.moveFirst(); !rows.eof(); rows.moveNext())
        if (rows.intValue(entrytable::column::id) == id)
            shikona = rows.textValue(entrytable::column::shikona);
    const Question q {deleteQuestion(shikona), QStringLiteral("登録ﾃﾞｰﾀの削除"), Icon::Question};
    if (!m_contest.prompter().ask(q))
        return false;
    transact([&] {
        RecordSet rs(m_contest.database(), entrytable::name);
        rs.setSort(entrytable::byId);
        int p = 0;
        rs.moveFirst();
        while (!rs.eof()) {
            if (rs.intValue(entrytable::column::id) == id) {
                const int at = rs.position();
                rs.remove(); // the next row becomes current
                if (at >= rs.count())
                    break;
                continue;
            }
            rs.setValue(entrytable::column::id, p + 100);
            rs.setValue(entrytable::column::rank, p);
            rs.update();
            ++p;
            rs.moveNext();
        }
        auto &entries = m_contest.entries();
        if (index >= 0 && index < int(entries.size()))
            entries.erase(entries.begin() + index);
    });
    return true;
}

void EntryRegistration::close()
{
    if (m_contest.participantCount() == 0)
        return;
    transact([&] { markRegistered(); });
}

} // namespace kc
