#pragma once

#include <QString>

namespace kc {

class Contest;

// Writes finished pages into the contest's html/ folder: CP932 bytes, each
// file replaced whole through the contest's file layer (so a page written in
// a unit of work is committed with it). The style sheet and the images the
// pages use are put there first when missing; a file the organiser placed is
// never replaced.
class PageWriter
{
public:
    explicit PageWriter(Contest &contest);

    // Kachi1.css, pic/WPaper.GIF, pic/bar.gif, pic/bar_top.gif from the
    // program's own copies, each only when absent; a Kachi1.css byte for byte
    // as an earlier version supplied it is brought up to date.
    void ensureAssets();
    // html/<name>, the text followed by CRLF; throws StoreError naming the file.
    void write(const QString &name, const QString &text);
    QString pathOf(const QString &name) const;

    // The files ensureAssets() supplies, relative to html/.
    static const QStringList &assetNames();

private:
    Contest &m_contest;
    bool m_assetsChecked = false;
};

} // namespace kc
