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
    f.details() = entry.details();
    for (int i = 0; i < kMaxPicks && i < pickCount; ++i)
        f.picks[i] = numberText(entry.picks[i]);
    f.reserve = numberText(entry.reserveList[0]);
    return f;
}

} // namespace kc
