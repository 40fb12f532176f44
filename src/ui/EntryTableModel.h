#pragma once

#include "store/EntryTable.h"

#include <QAbstractTableModel>
#include <QString>
#include <memory>
#include <vector>

namespace kc {
class Contest;
class RecordSet;
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

// The entry table as a model for DataGrid1, read through the grid's own
// recordset and sorted by the organiser's sort string ("順位 DESC"), so no
// action of the core moves the order the organiser chose.
class EntryTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit EntryTableModel(Contest &contest, QObject *parent = nullptr);
    ~EntryTableModel() override;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Sorts the grid by a sort string (e.g. "順位 DESC"); a string the table
    // cannot take throws StoreError and leaves the order as it was.
    void setSort(const QString &sort);
    const QString &sort() const { return m_sort; }
    // Reads the table and the column captions afresh (after any action),
    // keeping the sort.
    void refresh();

    const GridLayout &layout() const { return m_layout; }

private:
    bool tableOpen() const;
    void readTable();

    Contest &m_contest;
    GridLayout m_layout;
    QString m_sort = entrytable::byRank;
    std::unique_ptr<RecordSet> m_rows;
};

} // namespace kc::ui
