#include "banzuke/BanzukeRegistration.h"

#include "store/Contest.h"
#include "store/RecordFile.h"
#include "store/Roster.h"
#include "store/StoreError.h"
#include "store/Text.h"
#include "store/UnitOfWork.h"

namespace kc {

RankCounts RankCounts::fromTexts(const QStringList &texts)
{
    RankCounts c;
    for (int g = 0; g < 5 && g < texts.size(); ++g)
        c.n[g] = cintClamped(val(texts[g]));
    return c;
}

RankCounts RankCounts::of(const BanzukeRecord &banzuke)
{
    RankCounts c;
    const int count = std::clamp<int>(banzuke.wrestlerCount, 0, kRosterSlots);
    for (int i = 0; i < count; ++i) {
        const int code = banzuke.rankCodes[i];
        if (code >= 0 && code <= 4)
            ++c.n[4 - code];
    }
    return c;
}

namespace registration {

const QString &saveQuestion()
{
    static const QString s = QStringLiteral("番付をﾌｧｲﾙに登録します。");
    return s;
}

const QString &tooManyMessage()
{
    static const QString s = QStringLiteral("登録できる力士数は42名までです。");
    return s;
}

std::optional<QString> checkCounts(const RankCounts &counts)
{
    // A negative count would make negative row counts and scramble the panel.
    for (int g = 0; g < 5; ++g)
        if (counts.n[g] < 0)
            return QStringLiteral("%1の人数が正しくありません。0以上の数を入力してください。")
                .arg(rankName(RankCounts::codeOfGroup(g)));
    if (counts.total() >= kMaxWrestlers + 1)
        return tooManyMessage();
    // Each rank starts a new row, so odd groups can push 42 wrestlers past the
    // 22 rows of the panel; the last wrestlers would have no place.
    int rows = 0;
    for (int g = 0; g < 5; ++g)
        rows += rowsForCount(counts.n[g]);
    if (rows > 22)
        return QStringLiteral("番付が%1段になり、22段に収まりません。人数を確認してください。")
            .arg(rows);
    return std::nullopt;
}

NamesPanelLayout layoutFor(const RankCounts &counts)
{
    NamesPanelLayout out;
    out.boxRow.fill(0);
    out.boxEast.fill(false);
    out.rankCode.fill(0);
    int firstRow = 0;
    int slot = 0;
    for (int g = 0; g < 5; ++g) {
        const int n = std::max(0, counts.n[g]);
        out.groupRows[g] = rowsForCount(n);
        for (int j = 0; j < n && slot < kRosterSlots; ++j, ++slot) {
            out.boxRow[slot] = firstRow + j / 2;
            out.boxEast[slot] = j % 2 == 0;
            out.rankCode[slot] = qint16(RankCounts::codeOfGroup(g));
        }
        firstRow += out.groupRows[g];
    }
    out.boxCount = slot;
    out.rows = std::min(firstRow, 22);
    const auto &r = out.groupRows;
    auto label = [&](int row, const QString &text) {
        if (row >= 0 && row < 22)
            out.labels[row] = text;
    };
    if (r[0] > 0)
        label(0, rankName(Yokozuna));
    if (r[1] > 0)
        label(r[0], rankName(Ozeki));
    if (r[2] > 0)
        label(r[0] + r[1], rankName(Sekiwake));
    if (r[3] > 0)
        label(r[0] + r[1] + r[2], rankName(Komusubi));
    for (int m = 0; m < r[4]; ++m)
        label(r[0] + r[1] + r[2] + r[3] + m, QStringLiteral("前%1").arg(m + 1));
    return out;
}

void assignRankCodes(BanzukeRecord &record, const NamesPanelLayout &layout)
{
    for (int i = 0; i < kRosterSlots; ++i)
        record.rankCodes[i] = i < layout.boxCount ? layout.rankCode[i] : qint16(0);
}

std::optional<BanzukeRecord> readStored(const Contest &contest)
{
    const QString &path = contest.paths().banzuke;
    const auto bytes = contest.files().read(path);
    if (!bytes)
        return std::nullopt;
    if (bytes->size() < BanzukeRecord::Size)
        throw recordfile::badLength(path, bytes->size(), BanzukeRecord::Size);
    BanzukeRecord b = BanzukeRecord::decode(bytes->left(BanzukeRecord::Size));
    if (b.wrestlerCount < 0 || b.wrestlerCount > kRosterSlots)
        throw StoreError(badDataMessage(path, QStringLiteral("力士数 %1").arg(b.wrestlerCount)),
                         path);
    return b;
}

bool save(Contest &contest, BanzukeRecord record, const RankCounts &counts)
{
    if (!contest.prompter().ask({saveQuestion(), QString(), Icon::Question, false}))
        return false;
    const NamesPanelLayout layout = layoutFor(counts);
    record.wrestlerCount = qint16(std::clamp(counts.total(), 0, kRosterSlots));
    assignRankCodes(record, layout);
    for (int i = record.wrestlerCount; i < kRosterSlots; ++i)
        record.names[i].clear();

    // The roster the next start-up will build from the new file.
    Roster next;
    next.installDefault();
    next.loadBanzuke(record);
    next.takeInitialNames();
    next.applyRenames(contest.readRenames());

    UnitOfWork work(contest);
    recordfile::writeAll<BanzukeRecord>(contest.files(), contest.paths().banzuke,
                                        std::vector<BanzukeRecord> {record});
    // Start-up takes names and ranks from Rikishi.Dat when it exists; a stale
    // one would hide the new banzuke after the next start.
    if (contest.files().exists(contest.paths().rikishi))
        recordfile::writeAll<WrestlerRecord>(
            contest.files(), contest.paths().rikishi,
            std::vector<WrestlerRecord>(next.wrestlers.begin(),
                                        next.wrestlers.begin() + next.wrestlerCount));
    contest.loadRoster();
    work.commit();
    return true;
}

bool registerBanzuke(Contest &contest, const BanzukeRecord &record, const RankCounts &counts,
                     const EnglishNames *english)
{
    UnitOfWork work(contest);
    if (!save(contest, record, counts))
        return false;
    if (english)
        WrestlerNames::writeTable(contest, *english);
    work.commit();
    return true;
}

} // namespace registration
} // namespace kc
