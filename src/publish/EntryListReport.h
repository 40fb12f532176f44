#pragma once

#include "publish/PrintDocument.h"
#include "store/Records.h"

#include <QString>
#include <array>
#include <vector>

namespace kc {

class Contest;

// One participant as the list prints it (names from the entry table).
struct EntryListRow
{
    int id = 0;
    QString shikona;
    std::array<QString, 10> picks;
    QString reserve;
};

// The participants in ID order.
std::vector<EntryListRow> readEntryListRows(Contest &contest);

// The line layout the participant list and the tally results share: a page
// starts every 60 lines with two header lines, so a page holds 58 participants.
namespace reportpage {
constexpr int kPerPage = 58;
int pageCount(int participants); // at least 1
int lineY(int line); // text of line 0..59 of a page
int lineOf(int index); // the line of participant `index` (0-based) on its page: 2..59
QString pageMark(int page, int pages); // "1/3)"
} // namespace reportpage

namespace entrylist {
// Before the reception is closed the list says 途中経過, after it 最終版.
QString title(const QString &bashoName, bool receptionClosed, int page, int pages);
} // namespace entrylist

// 参加者投票ﾘｽﾄ: one line per participant with the picks under their point values.
PrintDocument buildEntryList(const QString &bashoName, const RulesRecord &rules,
                             const std::vector<EntryListRow> &rows);
PrintDocument buildEntryList(Contest &contest);

} // namespace kc
