#include "entries/EntryForm.h"

namespace kc {

namespace {
QString numberText(int slot)
{
    return slot == kNoWrestler ? QString() : QString::number(slot + 10);
}
} // namespace

EntryForm EntryForm::fromRecord(const EntryRecord &entry, int pickCount)
{
    EntryForm f;
    f.memberName = entry.memberName;
    f.birth = entry.birth;
    f.mail = entry.mail;
    f.tel = entry.tel;
    f.fax = entry.fax;
    f.shikona = entry.shikona;
    f.furigana = entry.furigana;
    for (int i = 0; i < kMaxPicks && i < pickCount; ++i)
        f.picks[i] = numberText(entry.picks[i]);
    f.reserve = numberText(entry.reserveList[0]);
    return f;
}

} // namespace kc
