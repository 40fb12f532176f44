#include "banzuke/WrestlerNames.h"

#include "store/Roster.h"
#include "store/Contest.h"

namespace kc {

WrestlerNames::WrestlerNames(const Roster &roster, const EnglishNames &english)
{
    for (int slot = 0; slot < roster.wrestlerCount && slot < kNoWrestler; ++slot) {
        m_current.emplace_back(fold(roster.name(slot)), slot);
        m_initial.emplace_back(fold(roster.initialNames[slot]), slot);
    }
    for (const auto &[jp, en] : english)
        addEnglish(jp, en);
}

void WrestlerNames::addEnglish(const QString &japanese, const QString &english)
{
    const QString en = fold(english);
    if (!en.isEmpty() && !fold(japanese).isEmpty())
        m_english.emplace(en, fold(japanese));
}

QString WrestlerNames::fold(const QString &name)
{
    QString out;
    for (QChar c : name.normalized(QString::NormalizationForm_D)) {
        if (c.category() == QChar::Mark_NonSpacing)
            continue;
        out += c.toLower();
    }
    qsizetype b = 0, e = out.size();
    auto blank = [](QChar c) { return c.isSpace() || c.unicode() == 0x3000; };
    while (b < e && blank(out.at(b)))
        ++b;
    while (e > b && blank(out.at(e - 1)))
        --e;
    return out.mid(b, e - b).normalized(QString::NormalizationForm_C);
}

std::optional<int> WrestlerNames::slotOfJapanese(const QString &folded) const
{
    if (folded.isEmpty())
        return std::nullopt;
    for (const auto &[name, slot] : m_current)
        if (name == folded)
            return slot;
    for (const auto &[name, slot] : m_initial)
        if (name == folded)
            return slot;
    return std::nullopt;
}

std::optional<int> WrestlerNames::slotOf(const QString &name) const
{
    const QString folded = fold(name);
    if (auto slot = slotOfJapanese(folded))
        return slot;
    const auto it = m_english.find(folded);
    if (it != m_english.end())
        return slotOfJapanese(it->second);
    return std::nullopt;
}

QString WrestlerNames::tablePath(const Contest &contest)
{
    return contest.paths().data + QStringLiteral("/ShikonaEn.txt");
}

EnglishNames WrestlerNames::readTable(const Contest &contest)
{
    EnglishNames out;
    const auto bytes = contest.files().read(tablePath(contest));
    if (!bytes)
        return out;
    for (const QString &line : QString::fromUtf8(*bytes).split(u'\n')) {
        const QStringList parts = line.split(u'\t');
        if (parts.size() == 2)
            out.emplace_back(parts[0].trimmed(), parts[1].trimmed());
    }
    return out;
}

void WrestlerNames::writeTable(Contest &contest, const EnglishNames &names)
{
    const QString path = tablePath(contest);
    if (names.empty()) {
        if (contest.files().exists(path))
            contest.files().remove(path);
        return;
    }
    QString text;
    for (const auto &[jp, en] : names)
        text += jp + u'\t' + en + u'\n';
    contest.files().write(path, text.toUtf8());
}

} // namespace kc
