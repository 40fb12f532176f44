#include "publish/Fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QHash>
#include <QRawFont>
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

QString printFamily(PrintFace face)
{
    static QHash<int, QString> chosen;
    if (const auto it = chosen.constFind(int(face)); it != chosen.cend())
        return *it;
    QStringList candidates;
    switch (face) {
    case PrintFace::Mincho:
        candidates << QStringLiteral("IPAMincho") << minchoCandidates();
        break;
    case PrintFace::PMincho:
        candidates << QStringLiteral("IPAPMincho") << minchoCandidates();
        break;
    case PrintFace::Gothic:
        candidates << QStringLiteral("IPAGothic") << gothicCandidates();
        break;
    }
    const QStringList found = installed(candidates);
    QString family = found.isEmpty() ? candidates.first() : found.first();
    for (const QString &f : found) {
        const QRawFont raw = QRawFont::fromFont(QFont(f));
        if (raw.isValid() && !raw.supportsCharacter(char32_t(0x2F49))) {
            family = f;
            break;
        }
    }
    chosen.insert(int(face), family);
    return family;
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
