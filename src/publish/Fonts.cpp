#include "publish/Fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace kc {

namespace {

// Preferred installed families, best first. The IPAex fonts come with the set-up.
const QStringList &minchoCandidates()
{
    static const QStringList list {QStringLiteral("IPAexMincho"), QStringLiteral("IPAMincho"),
                                   QStringLiteral("Noto Serif CJK JP"),
                                   QStringLiteral("Noto Serif JP"),
                                   QStringLiteral("Droid Sans Fallback")};
    return list;
}

const QStringList &gothicCandidates()
{
    static const QStringList list {QStringLiteral("IPAexGothic"), QStringLiteral("IPAGothic"),
                                   QStringLiteral("Noto Sans CJK JP"),
                                   QStringLiteral("Noto Sans JP"),
                                   QStringLiteral("Droid Sans Fallback")};
    return list;
}

QStringList installed(const QStringList &candidates)
{
    const QStringList families = QFontDatabase::families();
    QStringList out;
    for (const QString &c : candidates)
        if (families.contains(c, Qt::CaseInsensitive))
            out << c;
    return out;
}

// Windows font names as the contest's pages and reports write them, in both
// full-width and ASCII spellings.
const QStringList &minchoNames()
{
    static const QStringList list {QStringLiteral("ＭＳ 明朝"), QStringLiteral("ＭＳ Ｐ明朝"),
                                   QStringLiteral("MS Mincho"), QStringLiteral("MS PMincho"),
                                   QStringLiteral("ＭＳ明朝"),  QStringLiteral("ＭＳＰ明朝")};
    return list;
}

const QStringList &gothicNames()
{
    static const QStringList list {
        QStringLiteral("ＭＳ ゴシック"), QStringLiteral("ＭＳ Ｐゴシック"),
        QStringLiteral("MS Gothic"),     QStringLiteral("MS PGothic"),
        QStringLiteral("MS UI Gothic"),  QStringLiteral("Meiryo UI"),
        QStringLiteral("メイリオ")};
    return list;
}

} // namespace

QString minchoSubstitute()
{
    const QStringList found = installed(minchoCandidates());
    return found.isEmpty() ? QString() : found.first();
}

QString gothicSubstitute()
{
    const QStringList found = installed(gothicCandidates());
    return found.isEmpty() ? QString() : found.first();
}

void installFontSubstitutes()
{
    // Without a Mincho the Gothic is still better than boxes, and the other way round.
    QStringList mincho = installed(minchoCandidates());
    QStringList gothic = installed(gothicCandidates());
    const QStringList minchoThenGothic = mincho + gothic;
    const QStringList gothicThenMincho = gothic + mincho;
    if (minchoThenGothic.isEmpty())
        return;
    for (const QString &name : minchoNames()) {
        QFont::removeSubstitutions(name);
        QFont::insertSubstitutions(name, minchoThenGothic);
    }
    for (const QString &name : gothicNames()) {
        QFont::removeSubstitutions(name);
        QFont::insertSubstitutions(name, gothicThenMincho);
    }
}

} // namespace kc
