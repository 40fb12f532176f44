#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <vector>

namespace kc {
class Contest;
struct RulesRecord;
} // namespace kc

namespace kc::ui {

// Column positions of entry00 the grid layout relies on.
namespace gridcol {
constexpr int Id = 0;
constexpr int Shikona = 1;
constexpr int FirstDay = 2; // 初日 .. 千秋楽 = 2..16
constexpr int Total = 17;
constexpr int Rank = 18;
constexpr int FirstPick = 19; // 力士1 .. 力士10 = 19..28
constexpr int Reserve = 29;
constexpr int Mid = 30;
constexpr int Dummy = 31;
constexpr int Furigana = 32;
constexpr int Count = 33;
} // namespace gridcol

// How DataGrid1 shows the entry table in a given phase: which columns are
// visible, their widths in twips and captions, and the running width the
// window sizes itself by.
struct GridLayout
{
    struct Column
    {
        bool visible = false;
        int widthTwips = 0;
        QString caption;
    };
    std::vector<Column> columns; // gridcol::Count
    int runningWidthTwips = 0;
    bool useReserve = false;

    static GridLayout forRules(const RulesRecord &rules);
};

// The entry table (contest.entryTable(), sorted and filtered in memory by the
// system's sort strings) as a model for DataGrid1. The recordset is looked up
// on every call because the contest replaces it when it re-opens it.
class EntryTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit EntryTableModel(Contest &contest, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Assigns the recordset's sort key (e.g. "順位 DESC") and shows the new order.
    void setSort(const QString &sort);
    // Takes the recordset and the column captions afresh (after a re-open, a
    // tally, a reset or a change of rules).
    void refresh();

    const GridLayout &layout() const { return m_layout; }

private:
    bool tableOpen() const;

    Contest &m_contest;
    GridLayout m_layout;
};

} // namespace kc::ui
