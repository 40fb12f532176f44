#include "entries/PreviousImport.h"
#include "store/EntryTable.h"

#include "store/Contest.h"
#include "store/Phase.h"
#include "store/RecordSet.h"
#include "store/UnitOfWork.h"

#include <QFileInfo>

namespace kc {

QString importQuestion(ImportSource source)
{
    return (source == ImportSource::Ranking
                ? QStringLiteral("現在の投票内容を削除し、先場所の参加者を得点順に")
                : QStringLiteral("現在の投票内容を削除し、先場所の参加者をID順に"))
        + QStringLiteral(
               "\n記入します。　削除、追加はこの後に行ってください。\n　　よろしいですか。");
}

QString importMissingMessage(ImportSource source)
{
    return source == ImportSource::Ranking ? QStringLiteral("先場所のﾗﾝｷﾝｸﾞﾌｧｲﾙがありません")
                                           : QStringLiteral("先場所のﾌｧｲﾙがありません");
}

ImportResult importPrevious(Contest &contest, ImportSource source)
{
    ImportResult out;
    out.message = Phase::of(contest.rules()).refusal(Action::ImportPrevious);
    if (!out.message.isEmpty())
        return out;
    const Paths &paths = contest.paths();
    FileStore &files = contest.files();
    const QString &required = source == ImportSource::Ranking ? paths.ranking : paths.entryBak;
    if (!files.exists(required)) {
        contest.prompter().tell({importMissingMessage(source), QString(), Icon::None});
        out.outcome = ImportResult::MissingFile;
        return out;
    }
    // A record without a name would become an entry nobody can be told apart by.
    {
        const QByteArray bytes = files.read(required).value_or(QByteArray());
        const auto ranking = files.read(paths.ranking);
        const qint64 n
            = std::min<qint64>({ranking ? ranking->size() / EntryRecord::Size : 0,
                                bytes.size() / EntryRecord::Size, qint64(kEntryCapacity)});
        for (qint64 k = 0; k < n; ++k)
            if (EntryRecord::decode(bytes.mid(k * EntryRecord::Size, EntryRecord::Size))
                    .shikona.trimmed()
                    .isEmpty()) {
                out.message = QStringLiteral("%1 のレコード %2 に四股名がないため、取り込みません"
                                             "でした。")
                                  .arg(QFileInfo(required).fileName())
                                  .arg(k + 1);
                return out;
            }
    }
    if (!contest.prompter().ask(
            {importQuestion(source), QStringLiteral("先場所ﾃﾞｰﾀの取り込み"), Icon::Question})) {
        out.outcome = ImportResult::AnsweredNo;
        return out;
    }
    // Both buttons take the count of Ranking.Dat. A final partial record is not a participant.
    const auto ranking = files.read(paths.ranking);
    int n
        = ranking ? int(std::min<qint64>(ranking->size() / EntryRecord::Size, kEntryCapacity)) : 0;
    const QByteArray sourceBytes = files.read(required).value_or(QByteArray());
    // A source shorter than the count yields only the participants it holds,
    // never blank entries without a name.
    n = int(std::min<qint64>(n, sourceBytes.size() / EntryRecord::Size));

    {
        UnitOfWork work(contest);
        if (!ranking)
            files.write(paths.ranking, QByteArray()); // the empty file the import leaves
        contest.database().deleteAll(entrytable::name);
        files.remove(paths.entry);
        std::vector<EntryRecord> &entries = contest.entries();
        entries.clear();
        RecordSet rs(contest.database(), entrytable::name);
        for (int k = 0; k < n; ++k) {
            const EntryRecord src = EntryRecord::decode(
                sourceBytes.mid(qsizetype(k) * EntryRecord::Size, EntryRecord::Size));
            EntryRecord e = EntryRecord::cleared();
            e.details() = src.details();
            entries.push_back(e);
            rs.addNew();
            rs.setValue(entrytable::column::id, k + 100);
            entrytable::writeNames(rs, e);
            entrytable::writeBlankPicks(rs); // the picks are chosen at 更新
            rs.update();
        }
        Phase::registerFirstEntry(contest.rules());
        contest.saveRules();
        if (n > 0)
            contest.saveEntries();
        work.commit();
    }
    contest.entryTable().requery();
    out.outcome = ImportResult::Imported;
    out.count = n;
    return out;
}

} // namespace kc
