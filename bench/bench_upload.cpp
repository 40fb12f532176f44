// アップロード of 300 participants' pages to a throw-away sshd on 127.0.0.1:
// the full upload after day 15, and the second upload after one more
// confirmed day (day 14 -> 15) as a share of a full one, medians of five
// runs each. A last run with nothing changed shows the floor: reading and
// hashing html/.
#include "Servers.h"
#include "demo/DemoContest.h"
#include "online/Uploader.h"
#include "publish/Publisher.h"
#include "store/Contest.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace kc;

namespace {

struct Timed
{
    UploadOutcome outcome;
    double ms;
};

Timed timedUpload(Contest &contest, const UploadTarget &target, bool all)
{
    QElapsedTimer t;
    t.start();
    UploadOutcome outcome = uploadPages(contest, target, all, {});
    return {outcome, t.nsecsElapsed() / 1e6};
}

constexpr int runs = 5;

Timed median(std::vector<Timed> v)
{
    std::sort(v.begin(), v.end(), [](const Timed &a, const Timed &b) { return a.ms < b.ms; });
    return v[v.size() / 2];
}

void print(const char *what, const Timed &t)
{
    std::printf("%-44s %4d files %8lld bytes %8.1f ms%s\n", what, t.outcome.sent,
                static_cast<long long>(t.outcome.bytes), t.ms, t.outcome.ok() ? "" : "  FAILED");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    qputenv("KC_RANDOM_SEED", "11");
    qputenv("KACHIKOSHI_NO_KEYRING", "1");
    test::SshServer ssh;
    if (!ssh.failure().isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(ssh.failure()));
        return 1;
    }
    qputenv("KACHIKOSHI_KNOWN_HOSTS", ssh.knownHosts().toLocal8Bit());
    QTemporaryDir dir;
    SilentPrompter yes(true); // accepts the throw-away host key
    Contest contest(dir.path(), yes);
    contest.open();
    const DemoOptions demo {300, 11, 14, true};
    if (const QString why = buildDemoContest(contest, demo); !why.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(why));
        return 1;
    }
    QString refusal;
    UploadTarget target = *UploadTarget::fromText(ssh.url(), refusal);
    target.keyFile = ssh.userKey();

    publisher::publishAll(contest);
    const Timed day14 = timedUpload(contest, target, false);
    // Each run of the second upload starts from the manifest of day 14.
    const QByteArray manifest14 = *contest.files().read(uploadManifestPath(contest));
    confirmNextDemoDay(contest, demo);
    publisher::publishAll(contest);
    std::vector<Timed> seconds, fulls;
    for (int k = 0; k < runs; ++k) {
        contest.files().write(uploadManifestPath(contest), manifest14);
        seconds.push_back(timedUpload(contest, target, false));
        fulls.push_back(timedUpload(contest, target, true));
    }
    const Timed day15 = median(seconds), full = median(fulls);
    const Timed again = timedUpload(contest, target, false);

    print("first upload (day 14, everything)", day14);
    print("second upload after day 15 (median of 5)", day15);
    print("full upload after day 15 (--all, median of 5)", full);
    print("upload with nothing changed", again);
    std::printf("ratio second/full: %.2f (target at most 0.25); files changed %d of %d\n",
                full.ms > 0 ? day15.ms / full.ms : 0.0, day15.outcome.sent, full.outcome.sent);
    return day14.outcome.ok() && day15.outcome.ok() && full.outcome.ok() ? 0 : 1;
}
