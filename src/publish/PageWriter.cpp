#include "publish/PageWriter.h"

#include "store/Contest.h"
#include "store/StoreError.h"
#include "store/Text.h"

#include <QCryptographicHash>
#include <QFile>
#include <QStringList>

static void initPublishResources()
{
    Q_INIT_RESOURCE(publish);
}

namespace kc {

PageWriter::PageWriter(Contest &contest) : m_contest(contest)
{
    initPublishResources();
}

const QStringList &PageWriter::assetNames()
{
    static const QStringList names {QStringLiteral("Kachi1.css"), QStringLiteral("pic/WPaper.GIF"),
                                    QStringLiteral("pic/bar.gif"),
                                    QStringLiteral("pic/bar_top.gif")};
    return names;
}

QString PageWriter::pathOf(const QString &name) const
{
    return m_contest.paths().html + u'/' + name;
}

namespace {

// A style sheet still as an earlier version of the program put it there: no
// one has edited it, so the current one may take its place.
bool isEarlierSheet(const QByteArray &bytes)
{
    static const QByteArray earlier[] = {
        QByteArray::fromHex("748845b34c7b4e45b46a04269677353332b88fe71d2fdfa59228105602176558"),
    };
    const QByteArray hash = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
    return std::find(std::begin(earlier), std::end(earlier), hash) != std::end(earlier);
}

} // namespace

void PageWriter::ensureAssets()
{
    if (m_assetsChecked)
        return;
    FileStore &files = m_contest.files();
    for (const QString &name : assetNames()) {
        const QString path = pathOf(name);
        if (files.exists(path)
            && (name != QStringLiteral("Kachi1.css")
                || !isEarlierSheet(files.read(path).value_or(QByteArray()))))
            continue;
        QFile source(QStringLiteral(":/publish/") + name);
        if (!source.open(QIODevice::ReadOnly))
            throw StoreError(
                QStringLiteral("%1 を用意できません（プログラムに含まれていません）。").arg(name));
        files.write(path, source.readAll());
    }
    m_assetsChecked = true;
}

void PageWriter::write(const QString &name, const QString &text)
{
    ensureAssets();
    // The system's record-writing statement ends every page with one more line
    // break (its double quotes are left out).
    m_contest.files().write(pathOf(name), toCp932(text + QStringLiteral("\r\n")));
}

} // namespace kc
