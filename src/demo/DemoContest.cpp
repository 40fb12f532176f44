#include "demo/DemoContest.h"

#include "entries/EntryRegistration.h"
#include "rules/RuleSettings.h"
#include "scoring/CompetitionStart.h"
#include "scoring/DayConfirmation.h"
#include "scoring/RandomSource.h"
#include "scoring/ResultImport.h"
#include "scoring/ResultMarks.h"
#include "store/Contest.h"
#include "store/Roster.h"

#include <algorithm>
#include <random>

namespace kc {

namespace {

// Ring names of the sample participants and their readings.
const char16_t *const kHeads[][2]
    = {{u"東", u"ひがし"}, {u"西", u"にし"}, {u"若", u"わか"},   {u"大", u"おお"},
       {u"朝", u"あさ"},   {u"琴", u"こと"}, {u"千代", u"ちよ"}, {u"栃", u"とち"},
       {u"北", u"きた"},   {u"玉", u"たま"}, {u"豊", u"とよ"},   {u"春", u"はる"},
       {u"雅", u"みやび"}, {u"隆", u"たか"}, {u"鶴", u"つる"},   {u"翔", u"しょう"}};
const char16_t *const kTails[][2]
    = {{u"山", u"やま"},   {u"海", u"うみ"},   {u"川", u"かわ"},   {u"風", u"かぜ"},
       {u"龍", u"りゅう"}, {u"桜", u"ざくら"}, {u"嶺", u"みね"},   {u"浜", u"はま"},
       {u"富士", u"ふじ"}, {u"錦", u"にしき"}, {u"鵬", u"ほう"},   {u"光", u"ひかり"},
       {u"月", u"つき"},   {u"花", u"はな"},   {u"城", u"じょう"}, {u"里", u"さと"}};

class Demo
{
public:
    Demo(Contest &contest, const DemoOptions &options)
        : m_contest(contest), m_engine(options.seed), m_options(options)
    {
    }

    QString run()
    {
        RuleSettings rules = RuleSettings::of(m_contest.rules(), m_contest.participantCount());
        rules.useReserve = m_options.reserve;
        if (const ActionResult r = decideRules(m_contest, rules); !r.done())
            return refusal(QStringLiteral("ルール決定"), r.message);
        if (const QString why = addEntries(); !why.isEmpty())
            return why;
        if (closeReception(m_contest) != PhaseOutcome::Done)
            return refusal(QStringLiteral("受付終了"), QString());
        RuleSettings prizes = RuleSettings::of(m_contest.rules(), m_contest.participantCount());
        for (PrizeSetting &p : prizes.prizes) {
            p.on = prizeRankInField(p.rank, m_contest.participantCount());
            p.waiting = false;
        }
        for (DayPrizeSetting &day : prizes.dayPrizes)
            day.on = true;
        if (const ActionResult r = decidePrizes(m_contest, prizes); !r.done())
            return refusal(QStringLiteral("賞位決定"), r.message);
        planAbsences();
        SeededRandom lottery(m_options.seed);
        for (int day = 1; day <= std::min(m_options.days, kDays); ++day) {
            simulateDay(day);
            if (confirmDay(m_contest, day, lottery) != ConfirmOutcome::Confirmed)
                return refusal(QStringLiteral("%1日目の結果確定").arg(day), QString());
        }
        return QString();
    }

    // The day after the last confirmed one, everyone who can fighting.
    QString nextDay()
    {
        const int day = m_contest.rules().currentDay + 1;
        if (day > kDays)
            return refusal(QStringLiteral("結果確定"), QStringLiteral("千秋楽まで確定済です。"));
        m_absentFrom.assign(m_contest.roster().wrestlerCount, 0);
        simulateDay(day);
        SeededRandom lottery(m_options.seed + quint64(day));
        if (confirmDay(m_contest, day, lottery) != ConfirmOutcome::Confirmed)
            return refusal(QStringLiteral("%1日目の結果確定").arg(day), QString());
        return QString();
    }

private:
    static QString refusal(const QString &step, const QString &message)
    {
        return QStringLiteral("デモの%1ができませんでした。%2").arg(step, message);
    }

    int uniform(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_engine); }

    QString addEntries()
    {
        const Roster &roster = m_contest.roster();
        const RulesRecord &rules = m_contest.rules();
        std::vector<int> lower, top;
        for (int s = 0; s < roster.wrestlerCount; ++s)
            (roster.isTopRank(s) ? top : lower).push_back(s);
        const int pickCount = std::clamp<int>(rules.pickCount, 1, kMaxPicks);
        if (int(lower.size()) < pickCount + 1)
            return refusal(QStringLiteral("参加者登録"), QStringLiteral("力士が足りません。"));
        std::vector<EntryForm> forms;
        const int headCount = int(std::size(kHeads)), tailCount = int(std::size(kTails));
        for (int i = 0; i < m_options.entries; ++i) {
            EntryForm f;
            const int n = i % (headCount * tailCount);
            const auto &head = kHeads[(n * 7) % headCount];
            const auto &tail = kTails[(n / headCount + n) % tailCount];
            f.shikona = QString::fromUtf16(head[0]) + QString::fromUtf16(tail[0]);
            f.furigana = QString::fromUtf16(head[1]) + QString::fromUtf16(tail[1]);
            if (i >= headCount * tailCount)
                f.shikona += QString::number(i / (headCount * tailCount) + 1);
            f.memberName = QStringLiteral("会員%1").arg(i + 1, 3, 10, QChar(u'0'));
            f.mail = QStringLiteral("member%1@example.jp").arg(i + 1, 3, 10, QChar(u'0'));
            std::vector<int> pool = lower;
            std::shuffle(pool.begin(), pool.end(), m_engine);
            for (int p = 0; p < pickCount; ++p)
                f.picks[p] = QString::number(pool[p] + 10);
            // One in four takes a yokozuna or ōzeki first when the rules allow one.
            if (rules.includeTopRanks != 0 && !top.empty() && uniform(4) == 0)
                f.picks[0] = QString::number(top[uniform(int(top.size()))] + 10);
            if (rules.reserveInUse())
                f.reserve = QString::number(pool[pickCount] + 10);
            const ValidationResult v = validateEntry(f, rules, roster);
            if (!v.ok())
                return refusal(QStringLiteral("参加者登録"), v.message);
            forms.push_back(f);
        }
        if (!EntryRegistration(m_contest).addAll(forms))
            return refusal(QStringLiteral("参加者登録"), EntryRegistration::fullMessage());
        return QString();
    }

    // A few wrestlers sit out from a day on; one misses the whole tournament.
    void planAbsences()
    {
        const int count = m_contest.roster().wrestlerCount;
        m_absentFrom.assign(count, 0);
        for (int k = 0; k < 3 && count > 0; ++k)
            m_absentFrom[uniform(count)] = k == 0 ? 1 : 2 + uniform(kDays - 1);
    }

    void simulateDay(int day)
    {
        const Roster &roster = m_contest.roster();
        std::vector<int> fighting;
        for (int s = 0; s < roster.wrestlerCount; ++s) {
            const int mark = roster.wrestlers[s].dayResult[day - 1];
            if (mark == MarkAbsentConfirmed || mark == MarkAbsentLater)
                continue; // confirmed earlier, kept
            if (m_absentFrom[s] == day)
                setMark(m_contest, s, day, MarkAbsent);
            else
                fighting.push_back(s);
        }
        std::shuffle(fighting.begin(), fighting.end(), m_engine);
        for (size_t i = 0; i + 1 < fighting.size(); i += 2) {
            const int a = fighting[i], b = fighting[i + 1];
            const int ra = roster.wrestlers[a].rankCode, rb = roster.wrestlers[b].rankCode;
            // The higher rank wins more often, upsets make the stars.
            const double pa = std::clamp(0.5 + 0.08 * (ra - rb), 0.15, 0.85);
            const bool aWins = std::uniform_real_distribution<double>(0, 1)(m_engine) < pa;
            const int w = aWins ? a : b, l = aWins ? b : a;
            setMark(m_contest, w, day,
                    winningMark(roster.wrestlers[w].rankCode, roster.wrestlers[l].rankCode));
            setMark(m_contest, l, day, MarkLoss);
        }
        if (fighting.size() % 2 == 1) // meets a wrestler from below the top division
            setMark(m_contest, fighting.back(), day, uniform(2) ? MarkWin : MarkLoss);
    }

    Contest &m_contest;
    std::mt19937_64 m_engine;
    DemoOptions m_options;
    std::vector<int> m_absentFrom; // day of the first absence, 0 for none
};

} // namespace

namespace {

// The demo answers every question Yes, whoever else is listening.
template<typename F> QString answeringYes(Contest &contest, F &&run)
{
    Prompter &previous = contest.prompter();
    SilentPrompter yes(true);
    contest.setPrompter(yes);
    struct Restore
    {
        Contest &contest;
        Prompter &prompter;
        ~Restore() { contest.setPrompter(prompter); }
    } restore {contest, previous};
    return run();
}

} // namespace

QString buildDemoContest(Contest &contest, const DemoOptions &options)
{
    return answeringYes(contest, [&] { return Demo(contest, options).run(); });
}

QString confirmNextDemoDay(Contest &contest, const DemoOptions &options)
{
    return answeringYes(contest, [&] { return Demo(contest, options).nextDay(); });
}

} // namespace kc
