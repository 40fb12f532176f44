#include "UnitOfWorkFaults.h"

#include "TestSupport.h"
#include "banzuke/BanzukeRegistration.h"
#include "banzuke/Renaming.h"
#include "entries/EntryRegistration.h"
#include "rules/RuleSettings.h"
#include "scoring/CompetitionStart.h"
#include "scoring/DayConfirmation.h"
#include "store/UnitOfWork.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kc;
using namespace kc::test;

namespace {

QByteArray bytesOf(const ContestState &s)
{
    QByteArray out = s.rules.encode() + s.daily.encode();
    for (const WrestlerRecord &w : s.roster.wrestlers)
        out += w.encode();
    for (const EntryRecord &e : s.entries)
        out += e.encode();
    return out;
}

struct Case
{
    const char *area;
    std::function<void(Contest &)> action;
    std::function<void(Contest &)> prepare = {}; // before the picture is taken
};

RuleSettings g_settings;

// One action of each area, failing at its first write: the contest in memory
// is as it was before, without a reload.
TEST(Rollback, AFailedActionLeavesTheContestInMemoryAsItWas)
{
    const Case cases[] {
        {"banzuke",
         [](Contest &c) {
             BanzukeRecord b;
             b.names[0] = QStringLiteral("新横綱");
             RankCounts counts;
             counts.n[0] = 1;
             registration::save(c, b, counts);
         }},
        {"rename",
         [](Contest &c) {
             std::array<QString, kRosterSlots> typed;
             for (int i = 0; i < kRosterSlots; ++i)
                 typed[i] = c.roster().wrestlers[i].name;
             typed[0] = QStringLiteral("新しい名");
             renaming::RenameSession(c).save(typed);
         }},
        {"rules", [](Contest &c) { saveRules(c, g_settings); },
         [](Contest &c) {
             g_settings = RuleSettings::of(c.rules(), c.participantCount());
             g_settings.streakBonus = 9;
         }},
        {"entries", [](Contest &c) { EntryRegistration(c).remove(1); }},
        {"scoring: confirm", [](Contest &c) { confirmDay(c, 4); }},
        {"scoring: restart", [](Contest &c) { restartCompetition(c); }},
    };
    QTemporaryDir dir;
    buildContest(dir.path(), 5);
    for (const Case &t : cases) {
        SCOPED_TRACE(t.area);
        ScriptedPrompter prompter;
        auto store = std::make_unique<FaultyFileStore>();
        FaultyFileStore *disk = store.get();
        Contest c(dir.path(), prompter, std::move(store));
        c.open();
        for (int w = 0; w < 10; ++w)
            c.roster().wrestlers[w].dayResult[3] = MarkWin; // enough for day 4
        if (t.prepare)
            t.prepare(c);
        const QByteArray before = bytesOf(c.state());
        disk->arm(1, FaultyFileStore::Mode::Fail);
        EXPECT_THROW(t.action(c), StoreError);
        EXPECT_GE(disk->count(), 1) << "the action never wrote";
        EXPECT_TRUE(bytesOf(c.state()) == before);
        EXPECT_EQ(c.journal().depth(), 0);
        c.close(false);
    }
}

} // namespace
