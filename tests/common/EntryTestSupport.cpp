#include "EntryTestSupport.h"

#include "entries/EntryStore.h"
#include "store/RecordFile.h"
#include "store/RecordSet.h"

#include <gtest/gtest.h>

namespace kc::test {

Contest &openDecidedContest(TempContest &tc)
{
    Contest &c = tc.open();
    c.rules().flag = 1;
    c.saveRules();
    return c;
}

EntryForm formWith(const QString &shikona, const QStringList &picks, const QString &reserve)
{
    EntryForm f;
    f.shikona = shikona;
    for (int i = 0; i < picks.size() && i < kMaxPicks; ++i)
        f.picks[i] = picks[i];
    f.reserve = reserve;
    return f;
}

EntryForm validForm(const QString &shikona, int seed)
{
    QStringList picks;
    for (int i = 0; i < 7; ++i)
        picks << QString::number(20 + seed + i);
    return formWith(shikona, picks, QString::number(30 + seed));
}

void expectMirror(Contest &contest)
{
    const auto onDisk = recordfile::readAll<EntryRecord>(contest.files(), contest.paths().entry);
    ASSERT_EQ(onDisk.size(), contest.entries().size());
    for (size_t k = 0; k < onDisk.size(); ++k)
        EXPECT_EQ(onDisk[k], contest.entries()[k]) << "Entry.Dat record " << k + 1;
    RecordSet rs(contest.database(), QStringLiteral("entry00"));
    rs.setSort(QStringLiteral("ID ASC"));
    ASSERT_EQ(rs.count(), contest.participantCount());
    int k = 0;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext(), ++k) {
        const EntryRecord &e = contest.entries()[k];
        EXPECT_EQ(rs.intValue(QStringLiteral("ID")), 100 + k);
        EXPECT_EQ(rs.textValue(QStringLiteral("しこな")), e.shikona.trimmed());
        EXPECT_EQ(rs.textValue(QStringLiteral("シコ")), e.furigana.trimmed());
        for (int s = 0; s < kMaxPicks; ++s) {
            const QString shown = rs.textValue(QStringLiteral("力士%1").arg(s + 1)).trimmed();
            EXPECT_EQ(shown, rowWrestlerName(contest.roster(), e.picks[s])) << "ID " << 100 + k;
        }
        EXPECT_EQ(rs.textValue(QStringLiteral("予備力士")).trimmed(),
                  rowWrestlerName(contest.roster(), e.reserve)); // as registered
    }
}

void writeEntryFile(const QString &path, int count, const QString &prefix)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i) {
        EntryRecord e = EntryRecord::cleared();
        e.shikona = prefix + QString::number(i + 1);
        e.furigana = QStringLiteral("ﾌﾘｶﾞﾅ%1").arg(i + 1);
        e.memberName = QStringLiteral("会員%1").arg(i + 1);
        e.mail = QStringLiteral("m%1@example.jp").arg(i + 1);
        for (int s = 0; s < 7; ++s)
            e.picks[s] = e.enteredPicks[s] = qint16(10 + s);
        e.reserve = e.reserveList[0] = 20;
        e.totalScore = qint16(500 - i);
        e.dayRank[14] = qint16(i + 1);
        bytes += e.encode();
    }
    writeBytes(path, bytes);
}

} // namespace kc::test
