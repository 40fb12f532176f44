#include "publish/Publisher.h"

#include "publish/HtmlPage.h"
#include "publish/PageWriter.h"
#include "publish/ParticipantPages.h"
#include "publish/RecordPages.h"
#include "publish/RulesText.h"
#include "publish/ScorePages.h"
#include "store/Contest.h"

namespace kc::publisher {

namespace {

// Ends the progress display however the build ends.
struct ProgressScope
{
    PublishProgress *sink;
    ~ProgressScope()
    {
        if (sink)
            sink->end();
    }
};

} // namespace

int publishAll(Contest &contest, PublishProgress *progress)
{
    const DailyRecords daily = contest.readDaily();
    PageWriter writer(contest);
    writer.ensureAssets();
    const int n = contest.participantCount();
    if (progress)
        progress->begin(12 * n);
    ProgressScope scope {progress};
    ProgressTrack track(progress);
    int pages = 0;

    track.stage(QStringLiteral("個人得点表  作成中"));
    const QString code = contest.roster().bashoCode;
    for (int i = 0; i < n; ++i) {
        writer.write(html::participantFile(code, i + 100), pages::participant(contest, i));
        ++pages;
        track.advance(1);
    }
    writer.write(QStringLiteral("Prize.html"), pages::prize(contest));
    writer.write(QStringLiteral("Records.html"), pages::records(contest, daily));
    track.reset();
    track.stage(QStringLiteral("成績順・得点表  作成中"));
    writer.write(QStringLiteral("Result.html"), pages::result(contest, daily, track));
    track.stage(QStringLiteral("成績順・指名力士一覧  作成中"));
    writer.write(QStringLiteral("Result2.html"), pages::result2(contest, track));
    track.stage(QStringLiteral("成績順・グラフ  作成中"));
    writer.write(QStringLiteral("graph.html"), pages::graph(contest, daily, track));
    return pages + 5;
}

bool publishEntries(Contest &contest, PublishProgress *progress)
{
    if (contest.participantCount() == 0)
        return false;
    PageWriter writer(contest);
    if (progress)
        progress->begin(2 * contest.participantCount());
    ProgressScope scope {progress};
    ProgressTrack track(progress);
    writer.write(QStringLiteral("Entry.html"), pages::entry(contest, track));
    return true;
}

void publishRules(Contest &contest)
{
    PageWriter writer(contest);
    writer.write(QStringLiteral("Rules.html"), rulesPage(explainRules(contest.rules())));
}

void publishOnReceptionClosed(Contest &contest)
{
    publishEntries(contest);
    publishRules(contest);
}

void publishTestPage(Contest &contest)
{
    PageWriter writer(contest);
    writer.write(QStringLiteral("test.html"), pages::test(contest.readDaily()));
}

} // namespace kc::publisher
