#include "entries/EntryValidation.h"

#include "store/Roster.h"
#include "store/Text.h"

namespace kc {

QString entrymsg::pickOutOfRoster(int wrestlerCount)
{
    return QStringLiteral("力士番号が正しくありません。10～%1の番号を入力してください。")
        .arg(wrestlerCount + 9);
}

QString entrymsg::reserveOutOfRoster(int wrestlerCount)
{
    return QStringLiteral("予備力士の番号が正しくありません。10～%1の番号を入力してください。")
        .arg(wrestlerCount + 9);
}

const std::array<EntryTextField, 7> &entryTextFields()
{
    static const std::array<EntryTextField, 7> fields {{
        {&EntryForm::shikona, &EntryRecord::shikona, QStringLiteral("四股名"), 16},
        {&EntryForm::furigana, &EntryRecord::furigana, QStringLiteral("ふりがな"), 16},
        {&EntryForm::memberName, &EntryRecord::memberName, QStringLiteral("会員名"), 16},
        {&EntryForm::birth, &EntryRecord::birth, QStringLiteral("生年月日"), 16},
        {&EntryForm::tel, &EntryRecord::tel, QStringLiteral("電話"), 16},
        {&EntryForm::fax, &EntryRecord::fax, QStringLiteral("FAX"), 16},
        {&EntryForm::mail, &EntryRecord::mail, QStringLiteral("メール"), 50},
    }};
    return fields;
}

QStringList entryCutNotices(const EntryForm &form)
{
    QStringList out;
    for (const EntryTextField &f : entryTextFields()) {
        const QString n = cutNotice(form.*f.box, f.width, f.label);
        if (!n.isEmpty())
            out << n;
    }
    return out;
}

std::optional<int> rosterSlotOf(const QString &text, const Roster &roster)
{
    QString digits;
    for (QChar c : text.trimmed()) {
        const char16_t u = c.unicode();
        if (u >= 0xFF10 && u <= 0xFF19)
            c = QChar(char16_t(u'0' + (u - 0xFF10)));
        if (c < u'0' || c > u'9')
            return std::nullopt;
        digits += c;
    }
    if (digits.isEmpty() || digits.size() > 4)
        return std::nullopt;
    const int slot = digits.toInt() - 10;
    if (slot < 0 || slot >= roster.wrestlerCount || slot >= kNoWrestler)
        return std::nullopt;
    return slot;
}

namespace {
// CInt(Val(text) - 10); nullopt when it overflows.
std::optional<int> typedSlot(const QString &text)
{
    const auto s = cint(val(text) - 10);
    if (!s)
        return std::nullopt;
    return int(*s);
}

bool empty(const QString &box)
{
    return box.isEmpty();
}
} // namespace

ValidationResult validateEntry(const EntryForm &form, const RulesRecord &rules,
                               const Roster &roster)
{
    using V = ValidationResult;
    // Blanks alone, half- or full-width, or what the field's cut leaves of them, name nobody.
    if (fitText(form.shikona, 16).trimmed().isEmpty())
        return V::fail(1, entrymsg::noShikona(), EntryBox::Shikona);
    for (const EntryTextField &f : entryTextFields())
        if (const auto problem = textProblem(form.*f.box, f.label))
            return V::fail(3, *problem,
                           f.box == &EntryForm::shikona ? EntryBox::Shikona : EntryBox::None);
    const int pickCount = std::clamp<int>(rules.pickCount, 0, kMaxPicks);
    for (int i = 0; i < pickCount; ++i) {
        // Whichever box is empty, the first one is the one pointed at.
        if (empty(form.picks[i]))
            return V::fail(1, entrymsg::noPick(), EntryBox::Pick, 0);
        // Only a registered wrestler can be stored; the Enter check alone can be bypassed.
        if (!rosterSlotOf(form.picks[i], roster))
            return V::fail(3, entrymsg::pickOutOfRoster(roster.wrestlerCount), EntryBox::Pick, i);
        for (int j = i + 1; j < pickCount; ++j)
            if (val(form.picks[j]) == val(form.picks[i]))
                return V::fail(3, entrymsg::duplicatePick(), EntryBox::Pick, j);
    }
    if (rules.reserveInUse()) {
        if (empty(form.reserve))
            return V::fail(3, entrymsg::noReserve(), EntryBox::Reserve);
        const auto reserveSlot = rosterSlotOf(form.reserve, roster);
        if (!reserveSlot)
            return V::fail(3, entrymsg::reserveOutOfRoster(roster.wrestlerCount),
                           EntryBox::Reserve);
        for (int i = 0; i < pickCount; ++i)
            if (val(form.reserve) == val(form.picks[i]))
                return V::fail(3, entrymsg::reserveIsPick(), EntryBox::Reserve);
        // Enter refuses such a reserve; a number typed without Enter must not slip through.
        if (roster.isTopRank(*reserveSlot))
            return V::fail(3, entrymsg::reserveTopRank(), EntryBox::Reserve);
    }
    int topRanks = 0, lastTop = -1;
    for (int i = 0; i < pickCount; ++i) {
        if (empty(form.picks[i]))
            continue;
        const auto s = typedSlot(form.picks[i]);
        if (s && roster.isTopRank(*s)) {
            ++topRanks;
            lastTop = i;
        }
    }
    if (rules.includeTopRanks != 0 && topRanks > 1)
        return V::fail(3, entrymsg::severalTopRanks(), EntryBox::Pick, lastTop);
    if (rules.includeTopRanks == 0 && topRanks > 0)
        return V::fail(3, entrymsg::noTopRanks(), EntryBox::Pick, lastTop);
    return {};
}

EnterCheck checkPickEnter(const QString &text, const RulesRecord &rules, const Roster &roster)
{
    const auto s = typedSlot(text);
    if (!s || *s < 0 || *s > roster.wrestlerCount - 1 || *s >= kNoWrestler)
        return {EnterOutcome::Rejected, -1, entrymsg::pickOutOfRoster(roster.wrestlerCount)};
    if (rules.includeTopRanks == 0 && roster.isTopRank(*s))
        return {EnterOutcome::Rejected, -1, entrymsg::noTopRanks()};
    return {EnterOutcome::Accepted, *s, QString()};
}

EnterCheck checkReserveEnter(const QString &text, const Roster &roster)
{
    const auto s = typedSlot(text);
    if (!s)
        return val(text) < 0 ? EnterCheck {EnterOutcome::Ignored, -1, QString()}
                             : EnterCheck {EnterOutcome::Rejected, -1,
                                           entrymsg::reserveOutOfRoster(roster.wrestlerCount)};
    if (*s < 0)
        return {EnterOutcome::Ignored, -1, QString()};
    if (*s > roster.wrestlerCount - 1 || *s >= kNoWrestler)
        return {EnterOutcome::Rejected, -1, entrymsg::reserveOutOfRoster(roster.wrestlerCount)};
    if (roster.isTopRank(*s))
        return {EnterOutcome::Rejected, -1, entrymsg::reserveTopRank()};
    return {EnterOutcome::Accepted, *s, QString()};
}

} // namespace kc
