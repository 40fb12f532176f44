#include "publish/PageWriter.h"

#include "store/Contest.h"
#include "store/StoreError.h"
#include "store/Text.h"

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

void PageWriter::ensureAssets()
{
    if (m_assetsChecked)
        return;
    FileStore &files = m_contest.files();
    for (const QString &name : assetNames()) {
        const QString path = pathOf(name);
        if (files.exists(path))
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
