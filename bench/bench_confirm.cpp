// 結果確定 of fifteen days for 300 participants and 42 wrestlers, against the
// floor of the same run: the five contest files written once, atomically, from
// the contest's state, and one transaction updating every row of entry00.
#include "scoring/DayConfirmation.h"
#include "rules/PrizeTable.h"
#include "scoring/RandomSource.h"
#include "scoring/Substitution.h"
#include "store/Contest.h"
#include "store/RecordFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <random>

using namespace kc;

namespace {

void setUpContest(Contest &c, std::mt19937 &gen)
{
    Roster &roster = c.roster();
    roster.wrestlers[40].name = QStringLiteral("若乃山");
    roster.wrestlers[41].name = QStringLiteral("北乃海");
    roster.wrestlerCount = 42;
    recordfile::writeAll<BanzukeRecord>(c.files(), c.paths().banzuke,
                                        std::vector<BanzukeRecord> {roster.toBanzuke()});
    roster.takeInitialNames();
    c.saveWrestlers();

    RulesRecord &r = c.rules();
    r.flag = 10;
    r.rulesStart = 1;
    c.saveRules();

    const int top = roster.topRankCount();
    std::uniform_int_distribution<int> pick(top, roster.wrestlerCount - 1);
    auto &entries = c.entries();
    entries.clear();
    for (int k = 0; k < 300; ++k) {
        EntryRecord e = EntryRecord::cleared();
        e.shikona = QStringLiteral("参加者%1").arg(k + 100);
        e.furigana = QStringLiteral("ｻﾝｶｼｬ");
        for (int s = 0; s < r.pickCount; ++s) {
            int w;
            do
                w = pick(gen);
            while (std::find(e.picks.begin(), e.picks.end(), w) != e.picks.end());
            e.picks[s] = qint16(w);
        }
        int reserve;
        do
            reserve = pick(gen);
        while (std::find(e.picks.begin(), e.picks.end(), reserve) != e.picks.end());
        e.reserve = qint16(reserve);
        e.enteredPicks = e.picks;
        buildReserveList(e, roster, true);
        entries.push_back(e);
    }
    c.saveEntries();
    c.rebuildEntryTable();
    buildPrizeTable(c);
}

void enterMarks(Contest &c, int day, std::mt19937 &gen)
{
    Roster &roster = c.roster();
    std::bernoulli_distribution win(0.5), star(0.05);
    for (int w = 0; w < roster.wrestlerCount; ++w) {
        qint16 &m = roster.wrestlers[w].dayResult[day - 1];
        if (m >= MarkAbsentConfirmed)
            continue;
        m = win(gen) ? (star(gen) ? MarkGold : MarkWin) : MarkLoss;
    }
    // An absence every third day, each on a wrestler still fighting.
    if (day % 3 == 2) {
        for (int w = roster.wrestlerCount - 1 - day; w >= 0; --w) {
            if (roster.wrestlers[w].dayResult[day - 1] < MarkAbsent) {
                roster.wrestlers[w].dayResult[day - 1] = MarkAbsent;
                break;
            }
        }
    }
}

double floorOnce(Contest &c)
{
    const Paths &p = c.paths();
    QElapsedTimer t;
    t.start();
    // The files as the program writes them from its state (encoding included).
    c.saveEntries();
    c.saveDaily();
    c.saveRules();
    c.saveWrestlers();
    writeFileAtomically(p.perfect, c.files().read(p.perfect).value_or(QByteArray()));
    Database &db = c.database();
    Transaction tx(db);
    QSqlQuery q(db.connection());
    q.prepare(QStringLiteral("UPDATE entry00 SET \"Dummy\"=? WHERE rowid=?"));
    QSqlQuery ids(db.connection());
    ids.exec(QStringLiteral("SELECT rowid FROM entry00"));
    qint64 n = 0;
    while (ids.next()) {
        q.bindValue(0, ++n);
        q.bindValue(1, ids.value(0));
        q.exec();
    }
    tx.commit();
    return t.nsecsElapsed() / 1e6;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    SilentPrompter yes(true);
    Contest contest(dir.path(), yes);
    contest.open();
    std::mt19937 gen(20261208);
    setUpContest(contest, gen);
    SeededRandom lottery(7);

    QTextStream out(stdout);
    out << "day  confirm_ms  floor_ms  ratio\n";
    std::vector<double> confirms, floors;
    double total = 0;
    for (int day = 1; day <= kDays; ++day) {
        enterMarks(contest, day, gen);
        QElapsedTimer t;
        t.start();
        const ConfirmOutcome outcome = confirmDay(contest, day, lottery);
        const double ms = t.nsecsElapsed() / 1e6;
        if (outcome != ConfirmOutcome::Confirmed) {
            out << "day " << day << " was not confirmed\n";
            return 1;
        }
        const double fl = floorOnce(contest);
        confirms.push_back(ms);
        floors.push_back(fl);
        total += ms;
        out << QString::asprintf("%3d  %10.2f  %8.2f  %5.2f\n", day, ms, fl, ms / fl);
    }
    const double mc = median(confirms), mf = median(floors);
    out << QString::asprintf(
        "median confirm %.2f ms, median floor %.2f ms, ratio %.2f (target <= 3)\n", mc, mf,
        mc / mf);
    out << QString::asprintf("fifteen days %.1f ms (target < 1000)\n", total);
    contest.close(false);
    return (mc <= 3 * mf && total < 1000) ? 0 : 2;
}
