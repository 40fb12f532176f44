#include "scoring/CompetitionStart.h"

#include "rules/PrizeTable.h"
#include "scoring/Substitution.h"
#include "store/Contest.h"
#include "store/EntryTable.h"
#include "store/Journal.h"
#include "store/Phase.h"
#include "store/UnitOfWork.h"

namespace kc {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

} // namespace

PhaseOutcome closeReception(Contest &contest, const ParticipantListPublisher &publish)
{
    const Question q {QStringLiteral("受付を終了します。これ以後の変更は受け付けません。") + kCrLf
                          + QStringLiteral("よろしいですか。"),
                      QString(), Icon::Question, false};
    // Closing an empty reception leaves a contest only 初期化 can take further.
    const Question nobody {
        QStringLiteral("参加者が一人も登録されていません。") + kCrLf
            + QStringLiteral("受付を終了すると投票受付ができなくなり、参加者のいない"
                             "コンテストは賞位決定もできません（元に戻すには 初期化 が必要です）。")
            + kCrLf + QStringLiteral("参加者なしで受付を終了しますか。"),
        QString(), Icon::Warning, true};
    if (!contest.prompter().ask(contest.participantCount() == 0 ? nobody : q))
        return PhaseOutcome::Declined;
    const int n = std::clamp<int>(contest.rules().pickCount, 0, kMaxPicks);
    const int count = contest.roster().wrestlerCount;
    for (const EntryRecord &e : contest.entries()) {
        if (e.shikona.trimmed().isEmpty()) {
            contest.prompter().tell({QStringLiteral("四股名のない登録データがあります（ID %1）。")
                                             .arg(100 + int(&e - contest.entries().data()))
                                         + kCrLf
                                         + QStringLiteral("登録フォームに戻り、訂正または削除を"
                                                          "行ってください。"),
                                     QString(), Icon::None});
            return PhaseOutcome::Refused;
        }
        for (int s = 0; s < n; ++s) {
            if (e.picks[s] < 0 || e.picks[s] > count - 1) {
                contest.prompter().tell(
                    {QStringLiteral("登録データの中に、力士もしくは補充力士の選択されていないデータ"
                                    "があります。")
                         + kCrLf
                         + QStringLiteral("登録フォームに戻り、訂正または削除を行ってください。"),
                     QString(), Icon::None});
                return PhaseOutcome::Refused;
            }
        }
    }
    UnitOfWork work(contest);
    Phase::closeReception(contest.rules());
    contest.saveRules();
    const Paths &p = contest.paths();
    contest.files().remove(p.entryBak);
    if (contest.files().exists(p.entry))
        contest.files().copy(p.entry, p.entryBak);
    contest.reopenEntryTable();
    if (publish)
        publish(contest);
    work.commit();
    return PhaseOutcome::Done;
}

PhaseOutcome restartCompetition(Contest &contest)
{
    if (!contest.files().exists(contest.paths().entry))
        return PhaseOutcome::NotAvailable;
    const Question q {
        QStringLiteral("競技開始前の状態に戻ります。取組結果は残っておりますので") + kCrLf
            + QStringLiteral("変更し、初日より順に「確定」を行ってください。 ただし") + kCrLf
            + QStringLiteral("休場力士は改めて設定してください。また、当日賞当選者の") + kCrLf
            + QStringLiteral("抽選も再度行いますのでご了承下さい。") + kCrLf + kCrLf
            + QStringLiteral("処理を始めます。よろしいですか。"),
        QString(), Icon::Warning, true};
    if (!contest.prompter().ask(q))
        return PhaseOutcome::Declined;

    UnitOfWork work(contest);
    // The stored rules, or the defaults without a file.
    if (const auto bytes = contest.files().read(contest.paths().credit);
        bytes && bytes->size() == RulesRecord::Size)
        contest.rules() = RulesRecord::decode(*bytes);
    else
        contest.rules() = RulesRecord::firstRunDefaults();
    RulesRecord &r = contest.rules();
    Phase::reset(r);
    r.currentDay = 0;

    contest.resetDailyRecords();

    for (WrestlerRecord &w : contest.roster().wrestlers)
        for (qint16 &m : w.dayResult)
            if (m >= MarkAbsent)
                m = MarkLoss;
    contest.saveWrestlers();

    const int n = std::clamp<int>(r.pickCount, 0, kMaxPicks);
    for (EntryRecord &e : contest.entries()) {
        for (int s = 0; s < n; ++s)
            e.picks[s] = e.enteredPicks[s];
        e.clearScores();
        e.dayRank.fill(0);
        buildReserveList(e, contest.roster(), r.reserveInUse());
    }

    RecordSet &rs = contest.entryTable();
    rs.setFilter(QString());
    rs.setSort(entrytable::byId);
    for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
        const int id = rs.intValue(entrytable::column::id);
        // Kept as the system writes it: the rank shows the ID order.
        rs.setValue(entrytable::column::rank, id - 99);
        const int k = id - 100;
        const EntryRecord noScores = EntryRecord::cleared();
        const bool inArray = k >= 0 && k < contest.participantCount();
        for (int d = 1; d <= kDays; ++d)
            entrytable::writeScores(rs, inArray ? contest.entries()[k] : noScores, d);
        if (inArray)
            entrytable::writePicks(rs, contest.entries()[k], contest.roster(), n, false);
    }
    rs.updateAll();

    contest.saveEntries();
    buildPrizeTable(contest);

    Phase::decidePrizes(r); // CurrentDay is 0: the competition from day 1
    contest.saveRules();
    rs.moveFirst();
    work.commit();
    return PhaseOutcome::Done;
}

} // namespace kc
