#pragma once

#include "entries/EntryForm.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace kc {

class Contest;

// Applications exported from a web form: one CSV line per participant, UTF-8 or
// CP932. A first line naming the columns (四股名, フリガナ, 会員名, 生年月日, 電話番号,
// FAX番号, メールアドレス, 力士1…, 予備力士, or their English names) is recognised and
// other columns are passed over; without it the columns come in that order, with
// PickCount picks and, when the rules use one, the reserve. Picks and the reserve
// are wrestler numbers or names.
struct EntryImport
{
    QString message; // the whole file refused (unreadable, no lines)
    QStringList refusals; // "N行目（しこな）: reason", one per refused line
    std::vector<EntryForm> forms; // the applications that passed, in file order
    std::vector<int> lines; // their line numbers

    // Reads and checks every line exactly as 追加 checks a typed application.
    static EntryImport parse(const QByteArray &bytes, const Contest &contest);
    static EntryImport readFile(const QString &path, const Contest &contest);
};

// Checks and adds the valid applications of a file as one action.
struct EntryImportOutcome
{
    QString refusal; // nothing added
    EntryImport read;
    int firstId = 0; // ID of the first added entry
};
EntryImportOutcome importEntries(Contest &contest, const QString &path);

} // namespace kc
