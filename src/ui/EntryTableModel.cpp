#include "ui/EntryTableModel.h"
#include "store/EntryTable.h"

#include "store/Contest.h"
#include "store/Database.h"
#include "store/RecordSet.h"
#include "store/StoreError.h"

#include <algorithm>

namespace kc::ui {

GridLayout GridLayout::forRules(const RulesRecord &rules)
{
    GridLayout g;
    g.columns.resize(gridcol::Count);
    const QStringList &names = Database::entryColumns();
    for (int c = 0; c < gridcol::Count; ++c)
        g.columns[c].caption = names.value(c);

    auto &col = g.columns;
    col[gridcol::Id] = {true, 400, col[gridcol::Id].caption};
    col[gridcol::Shikona] = {true, 1500, col[gridcol::Shikona].caption};
    int width = 1900;

    const int day = std::clamp<int>(rules.currentDay, 0, kDays);
    for (int d = 1; d <= kDays; ++d) {
        auto &c = col[gridcol::FirstDay + d - 1];
        c.widthTwips = 400;
        c.visible = d <= day;
        if (c.visible)
            width += 400;
    }

    col[gridcol::Total].visible = col[gridcol::Rank].visible = true;
    col[gridcol::Total].widthTwips = col[gridcol::Rank].widthTwips = 650;
    width += 1300;

    const int picks = std::clamp<int>(rules.pickCount, 0, kMaxPicks);
    for (int s = 0; s < kMaxPicks; ++s) {
        auto &c = col[gridcol::FirstPick + s];
        c.widthTwips = 800;
        c.visible = s < picks;
        if (c.visible) {
            c.caption = QString::number(rules.slotPoints[s]) + QStringLiteral("点力士");
            width += 800;
        }
    }

    g.useReserve = rules.reserveInUse();
    col[gridcol::Reserve].visible = g.useReserve;
    col[gridcol::Reserve].widthTwips = 800;
    col[gridcol::Mid].visible = true;
    col[gridcol::Mid].widthTwips = 600;
    col[gridcol::Dummy].visible = col[gridcol::Furigana].visible = false;

    g.runningWidthTwips = width;
    return g;
}

EntryTableModel::EntryTableModel(Contest &contest, QObject *parent)
    : QAbstractTableModel(parent), m_contest(contest),
      m_layout(GridLayout::forRules(contest.rules()))
{
    try {
        readTable();
    } catch (const StoreError &) {
        // Shown empty; the window's first refresh reports the problem.
    }
}

EntryTableModel::~EntryTableModel() = default;

bool EntryTableModel::tableOpen() const
{
    return m_contest.isOpen() && m_rows;
}

void EntryTableModel::readTable()
{
    m_rows.reset();
    if (!m_contest.isOpen())
        return;
    auto rows = std::make_unique<RecordSet>(m_contest.database(), entrytable::name);
    rows->setSort(m_sort);
    m_rows = std::move(rows);
}

int EntryTableModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !tableOpen())
        return 0;
    return m_rows->count();
}

int EntryTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : gridcol::Count;
}

QVariant EntryTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !tableOpen() || index.row() >= rowCount()
        || index.column() >= gridcol::Count)
        return {};
    const RecordSet &rs = *m_rows;
    const QString &name = Database::entryColumns().at(index.column());
    const bool text = Database::isTextColumn(rs.table(), name);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: {
        const int c = int(rs.columns().indexOf(name));
        const QVariant v = rs.valueAt(index.row(), c);
        if (v.isNull())
            return text ? QVariant(QString()) : QVariant();
        return text ? QVariant(v.toString()) : QVariant(v.toLongLong());
    }
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(text ? Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter)
                                        : Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    default:
        return {};
    }
}

QVariant EntryTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (section < 0 || section >= gridcol::Count)
        return {};
    if (role == Qt::DisplayRole)
        return m_layout.columns[section].caption;
    return {};
}

void EntryTableModel::setSort(const QString &sort)
{
    if (!m_contest.isOpen())
        return;
    beginResetModel();
    try {
        if (!m_rows)
            readTable();
        m_rows->setSort(sort);
        m_sort = sort;
    } catch (...) {
        endResetModel();
        throw;
    }
    endResetModel();
}

void EntryTableModel::refresh()
{
    beginResetModel();
    m_layout = GridLayout::forRules(m_contest.rules());
    try {
        readTable();
    } catch (...) {
        endResetModel();
        throw;
    }
    endResetModel();
    emit headerDataChanged(Qt::Horizontal, 0, gridcol::Count - 1);
}

} // namespace kc::ui
