#include "publish/Publisher.h"

#include "publish/HtmlPage.h"
#include "publish/PageWriter.h"
#include "publish/ParticipantPages.h"
#include "publish/RecordPages.h"
#include "publish/RulesText.h"
#include "publish/ScorePages.h"
#include "store/Contest.h"
#include "store/FileStore.h"
#include "store/Journal.h"
#include "store/Phase.h"

namespace kc::publisher {

using html::Page;

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

// The groups of pages one command writes together.
enum Writing { Results = 1, Entries = 2, Rules = 4 };

bool entriesAllowed(const Contest &c)
{
    return c.participantCount() > 0
        && Phase::of(c.rules()).allows(Action::ExportEntries, c.participantCount());
}

// A page is linked when the phase allows it and it is written now or was
// written before, so the navigation never leads to a missing page. Results
// written before count only once a day is tallied, as Entry.html links the
// names: html/ keeps the last tournament's pages after a reset.
html::Site siteOf(Contest &c, const PageWriter &writer, int writing)
{
    html::Site site;
    const Phase phase = Phase::of(c.rules());
    site.bashoName = c.roster().bashoName;
    site.day = std::clamp<int>(c.rules().currentDay, 0, kDays);
    site.state = site.day >= 1    ? html::stateText(site.day)
        : !phase.rulesDecided()   ? QStringLiteral("準備中")
        : phase.receptionClosed() ? QStringLiteral("受付終了")
                                  : QStringLiteral("投票受付中");
    site.updated = publishTime(c);
    auto present = [&](int group, const QString &file) {
        return (writing & group) || c.files().exists(writer.pathOf(file));
    };
    const bool results = phase.allows(Action::ExportResults)
        && ((writing & Results)
            || (site.day >= 1 && c.participantCount() > 0
                && present(Results, html::participantFile(c.roster().bashoCode, 100))));
    for (Page page : {Page::Result, Page::Result2, Page::Graph, Page::Records, Page::Prize})
        site.linked[int(page)] = results && present(Results, html::fileOf(page));
    site.linked[int(Page::Entry)]
        = entriesAllowed(c) && present(Entries, html::fileOf(Page::Entry));
    site.linked[int(Page::Rules)]
        = phase.allows(Action::ShowRulesText) && present(Rules, html::fileOf(Page::Rules));
    site.participantPages = results && c.participantCount() > 0;
    return site;
}

// The pages of 集計結果出力（HTML), without the home page.
int writeResults(Contest &contest, PageWriter &writer, const html::Site &site, ProgressTrack &track)
{
    const DailyRecords daily = contest.readDaily();
    const int n = contest.participantCount();
    track.stage(QStringLiteral("個人得点表  作成中"));
    const QString code = contest.roster().bashoCode;
    for (int i = 0; i < n; ++i) {
        writer.write(html::participantFile(code, i + 100), pages::participant(contest, site, i));
        track.advance(1);
    }
    writer.write(QStringLiteral("Prize.html"), pages::prize(contest, site));
    writer.write(QStringLiteral("Records.html"), pages::records(contest, site, daily));
    track.reset();
    track.stage(QStringLiteral("成績順・得点表  作成中"));
    writer.write(QStringLiteral("Result.html"), pages::result(contest, site, daily, track));
    track.stage(QStringLiteral("成績順・指名力士一覧  作成中"));
    writer.write(QStringLiteral("Result2.html"), pages::result2(contest, site, track));
    track.stage(QStringLiteral("成績順・グラフ  作成中"));
    writer.write(QStringLiteral("graph.html"), pages::graph(contest, site, daily, track));
    return n + 5;
}

void writeRules(Contest &contest, PageWriter &writer, const html::Site &site)
{
    writer.write(html::fileOf(Page::Rules), rulesPage(explainRules(contest.rules()), site));
}

void writeHome(Contest &contest, PageWriter &writer, const html::Site &site)
{
    writer.write(html::fileOf(Page::Home), pages::home(contest, site));
}

} // namespace

QDateTime publishTime(Contest &contest)
{
    const QString fixed = qEnvironmentVariable("KC_PUBLISH_TIME");
    if (!fixed.isEmpty()) {
        const QDateTime t = QDateTime::fromString(fixed, Qt::ISODate);
        if (t.isValid())
            return t;
    }
    if (contest.journal().depth() > 0)
        return QDateTime::currentDateTime();
    const Paths &p = contest.paths();
    QDateTime latest;
    for (const QString &file :
         {p.credit, p.entry, p.record, p.perfect, p.rikishi, p.banzuke, p.rename}) {
        const QFileInfo info(file);
        if (info.isFile() && (!latest.isValid() || info.lastModified() > latest))
            latest = info.lastModified();
    }
    return latest.isValid() ? latest : QDateTime::currentDateTime();
}

int publishAll(Contest &contest, PublishProgress *progress)
{
    PageWriter writer(contest);
    writer.ensureAssets();
    const html::Site site = siteOf(contest, writer, Results);
    if (progress)
        progress->begin(12 * contest.participantCount());
    ProgressScope scope {progress};
    ProgressTrack track(progress);
    const int pages = writeResults(contest, writer, site, track);
    writeHome(contest, writer, site);
    return pages + 1;
}

int publishSite(Contest &contest, PublishProgress *progress)
{
    const Phase phase = Phase::of(contest.rules());
    const bool results = phase.allows(Action::ExportResults);
    const bool entries = entriesAllowed(contest);
    const bool rules = phase.allows(Action::ShowRulesText);
    PageWriter writer(contest);
    writer.ensureAssets();
    const html::Site site = siteOf(
        contest, writer, (results ? Results : 0) | (entries ? Entries : 0) | (rules ? Rules : 0));
    const int n = contest.participantCount();
    if (progress)
        progress->begin(results ? 12 * n : 2 * n);
    ProgressScope scope {progress};
    ProgressTrack track(progress);
    int pages = 0;
    if (results)
        pages += writeResults(contest, writer, site, track);
    if (entries) {
        track.reset();
        track.stage(QStringLiteral("登録順・指名力士一覧  作成中"));
        writer.write(html::fileOf(Page::Entry), pages::entry(contest, site, track));
        ++pages;
    }
    if (rules) {
        writeRules(contest, writer, site);
        ++pages;
    }
    writeHome(contest, writer, site);
    return pages + 1;
}

bool publishEntries(Contest &contest, PublishProgress *progress)
{
    if (contest.participantCount() == 0)
        return false;
    PageWriter writer(contest);
    const html::Site site = siteOf(contest, writer, Entries);
    if (progress)
        progress->begin(2 * contest.participantCount());
    ProgressScope scope {progress};
    ProgressTrack track(progress);
    writer.write(html::fileOf(Page::Entry), pages::entry(contest, site, track));
    writeHome(contest, writer, site);
    return true;
}

void publishRules(Contest &contest)
{
    PageWriter writer(contest);
    const html::Site site = siteOf(contest, writer, Rules);
    writeRules(contest, writer, site);
    writeHome(contest, writer, site);
}

void publishOnReceptionClosed(Contest &contest)
{
    PageWriter writer(contest);
    const html::Site site = siteOf(contest, writer, Entries | Rules);
    ProgressTrack track;
    if (contest.participantCount() > 0)
        writer.write(html::fileOf(Page::Entry), pages::entry(contest, site, track));
    writeRules(contest, writer, site);
    writeHome(contest, writer, site);
}

void publishTestPage(Contest &contest)
{
    PageWriter writer(contest);
    writer.write(QStringLiteral("test.html"), pages::test(contest.readDaily()));
}

} // namespace kc::publisher
