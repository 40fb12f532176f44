#include "store/Roster.h"

#include "store/Text.h"

#include <cmath>

namespace kc {

namespace {
// 平成14年九月場所の幕内（東西順）。
const char16_t *const kDefaultNames[40]
    = {u"武蔵丸",   u"貴乃花", // 横綱
       u"千代大海", u"魁皇",     u"栃東",   u"武双山", u"朝青龍", // 大関
       u"若の里",   u"琴光喜", // 関脇
       u"高見盛",   u"土佐ノ海", // 小結
       u"隆乃若",   u"旭天鵬",   u"安美錦", u"出島",   u"雅山",   u"栃乃洋",   u"海鵬",   u"琴龍",
       u"玉乃島",   u"北勝力",   u"若孜",   u"岩木山", u"旭鷲山", u"時津海",   u"貴ノ浪", u"栃乃花",
       u"十文字",   u"琴ノ若",   u"霜鳥",   u"豊桜",   u"皇司",   u"肥後ノ海", u"若ノ城", u"濱錦",
       u"北桜",     u"春日錦",   u"闘牙",   u"武雄山", u"金開山"};
const qint16 kDefaultTopRanks[11] = {4, 4, 3, 3, 3, 3, 3, 2, 2, 1, 1};
} // namespace

QString rankName(int code)
{
    switch (code) {
    case Yokozuna:
        return QStringLiteral("横綱");
    case Ozeki:
        return QStringLiteral("大関");
    case Sekiwake:
        return QStringLiteral("関脇");
    case Komusubi:
        return QStringLiteral("小結");
    default:
        return QStringLiteral("前頭");
    }
}

int rowsForCount(int n)
{
    return int(std::floor(n / 2.0 + 0.6));
}

void Roster::installDefault()
{
    for (auto &s : wrestlers) {
        s = WrestlerRecord();
        s.name = QStringLiteral(" ");
    }
    for (int i = 0; i < 40; ++i)
        wrestlers[i].name = QString::fromUtf16(kDefaultNames[i]);
    for (int i = 0; i < 11; ++i)
        wrestlers[i].rankCode = kDefaultTopRanks[i];
    wrestlerCount = 40;
    bashoName = QStringLiteral("平成14年　九月");
    bashoCode = QStringLiteral("0209");
}

void Roster::loadBanzuke(const BanzukeRecord &banzuke)
{
    bashoName = banzuke.bashoName;
    bashoCode = banzuke.bashoCode;
    wrestlerCount = banzuke.wrestlerCount;
    for (int a = 0; a < kRosterSlots; ++a) {
        WrestlerRecord &s = wrestlers[a];
        s.dayResult.fill(0);
        if (a < wrestlerCount) {
            s.name = banzuke.names[a];
            s.rankCode = banzuke.rankCodes[a];
        } else {
            s.name = QStringLiteral(" ");
            s.rankCode = 0;
        }
    }
}

void Roster::takeInitialNames()
{
    for (int i = 0; i < kRosterSlots; ++i)
        initialNames[i] = wrestlers[i].name;
}

void Roster::applyRenames(const std::vector<RenameRecord> &renames)
{
    const int usable = std::min<int>(int(renames.size()), 100);
    for (auto &slot : wrestlers) {
        const QString current = slot.name.trimmed();
        if (current.isEmpty())
            break;
        for (int i = 0; i < usable; ++i) {
            const QString oldName = renames[i].oldName.trimmed();
            if (oldName.isEmpty())
                break;
            if (oldName == current) {
                slot.name = renames[i].newName;
                break;
            }
        }
    }
}

BanzukeRecord Roster::toBanzuke() const
{
    BanzukeRecord b;
    b.bashoName = bashoName;
    b.bashoCode = bashoCode;
    b.wrestlerCount = qint16(wrestlerCount);
    for (int i = 0; i < kRosterSlots; ++i) {
        b.names[i] = i < wrestlerCount ? initialNames[i] : QString();
        b.rankCodes[i] = i < wrestlerCount ? wrestlers[i].rankCode : 0;
    }
    return b;
}

QString Roster::name(int slot) const
{
    if (slot < 0 || slot >= kRosterSlots || slot == kNoWrestler)
        return {};
    return wrestlers[slot].name.trimmed();
}

int Roster::countOfRank(int code) const
{
    int n = 0;
    for (int i = 0; i < wrestlerCount && i < kRosterSlots; ++i)
        if (wrestlers[i].rankCode == code)
            ++n;
    return n;
}

int Roster::topRankCount() const
{
    return countOfRank(Yokozuna) + countOfRank(Ozeki);
}

bool Roster::isTopRank(int slot) const
{
    return slot >= 0 && slot < kRosterSlots && wrestlers[slot].rankCode > Sekiwake;
}

int BanzukeLayout::positionOfSlot(int slot) const
{
    for (int p = 0; p < kRosterSlots; ++p)
        if (slotAt[p] == slot)
            return p;
    return -1;
}

BanzukeLayout computeLayout(const Roster &roster)
{
    BanzukeLayout out;
    out.numbers.fill(999);
    out.slotAt.fill(-1);
    const int count = std::clamp(roster.wrestlerCount, 0, kRosterSlots);
    const int y = roster.countOfRank(Yokozuna), o = roster.countOfRank(Ozeki),
              s = roster.countOfRank(Sekiwake), k = roster.countOfRank(Komusubi),
              m = roster.countOfRank(Maegashira);
    const int rY = rowsForCount(y), rO = rowsForCount(o), rS = rowsForCount(s),
              rK = rowsForCount(k), rM = rowsForCount(m);
    out.rankRows[0] = rY;
    out.rankRows[1] = rO;
    out.rankRows[2] = rS;
    out.rankRows[3] = rK;
    out.rankRows[4] = rM;
    // First position of each rank group, indexed by rank code.
    const int start[5] = {2 * (rY + rO + rS + rK), 2 * (rY + rO + rS), 2 * (rY + rO), 2 * rY, 0};
    int used[5] = {0, 0, 0, 0, 0};
    for (int w = 0; w < count; ++w) {
        const int code = roster.wrestlers[w].rankCode;
        if (code < 0 || code > 4)
            continue;
        const int pos = start[code] + used[code]++;
        if (pos > kRosterSlots - 1)
            continue;
        out.names[pos] = roster.name(w);
        out.numbers[pos] = w + 10;
        out.slotAt[pos] = w;
    }
    auto label = [&](int row, const QString &text) {
        if (row >= 0 && row < 22)
            out.labels[row] = text;
    };
    if (rY > 0)
        label(0, QStringLiteral("横綱"));
    if (rO > 0)
        label(rY, QStringLiteral("大関"));
    if (rS > 0)
        label(rY + rO, QStringLiteral("関脇"));
    if (rK > 0)
        label(rY + rO + rS, QStringLiteral("小結"));
    for (int r = 0; r < rM; ++r)
        label(rY + rO + rS + rK + r, QStringLiteral("前%1").arg(r + 1));
    out.rows = std::min(22, rY + rO + rS + rK + rM);
    return out;
}

} // namespace kc
