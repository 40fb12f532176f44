// 集計結果出力（HTML) for 300 participants after day 15, against the floor of
// the same run: the same bytes written to the same files, each replaced
// atomically, with nothing built.
#include "publish/Publisher.h"
#include "demo/DemoContest.h"
#include "store/Contest.h"
#include "store/FileStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace kc;

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    qputenv("KC_RANDOM_SEED", "11");
    QTemporaryDir dir;
    SilentPrompter prompter(true);
    Contest contest(dir.path(), prompter);
    contest.open();
    const QString why = buildDemoContest(contest, {300, 11, 15, true});
    if (!why.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(why));
        return 1;
    }
    constexpr int runs = 7;
    std::vector<double> publish, floor;
    int pages = publisher::publishAll(contest);

    // The pages as written, written again as they are; the two runs take
    // turns, so a busy machine slows both alike.
    const QString html = contest.paths().html;
    std::vector<std::pair<QString, QByteArray>> files;
    for (const QString &name : QDir(html).entryList({QStringLiteral("*.html")}, QDir::Files)) {
        QFile f(html + u'/' + name);
        if (f.open(QIODevice::ReadOnly))
            files.emplace_back(f.fileName(), f.readAll());
    }
    DiskFileStore disk;
    for (int k = 0; k < runs; ++k) {
        QElapsedTimer t;
        t.start();
        pages = publisher::publishAll(contest);
        publish.push_back(t.nsecsElapsed() / 1e6);
        t.restart();
        for (const auto &[path, bytes] : files)
            disk.write(path, bytes);
        floor.push_back(t.nsecsElapsed() / 1e6);
    }
    const double p = median(publish), f = median(floor);
    std::printf("publish: %d pages (%zu files in html/), median of %d runs %.1f ms\n", pages,
                files.size(), runs, p);
    std::printf("floor:   the same bytes to the same files, each atomically: %.1f ms\n", f);
    std::printf("ratio:   %.2f (target at most 1.5)\n", f > 0 ? p / f : 0.0);
    return 0;
}
