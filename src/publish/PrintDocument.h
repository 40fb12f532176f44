#pragma once

#include <QColor>
#include <QString>
#include <vector>

namespace kc {

// One thing printed on a page. Positions are twips from the top-left corner
// of the printable page; a text's position is the top-left of its first character.
struct PrintItem
{
    enum class Kind { Text, Line, Box };

    Kind kind = Kind::Text;
    int x = 0;
    int y = 0;
    int x2 = 0; // line end, or the box corner opposite (x, y)
    int y2 = 0;
    QString text;
    QString fontFamily;
    double fontSize = 0; // points
    bool bold = false;
    QColor colour = Qt::black;
    bool filled = false; // boxes only
    int drawWidth = 1; // the printer's line width, in printer dots
    bool outlined = false; // a text drawn with a dark edge, to read without colour
    int right = 0; // a text's column edge: shrunk, then cut, to end before it (0: none)

    bool operator==(const PrintItem &) const = default;
};

// How far right an item on portrait A4 may reach without the page being drawn
// smaller to keep off the paper's edge: the end for titles of any length.
constexpr int kPortraitRight = 11200;

struct PrintPage
{
    std::vector<PrintItem> items;
};

// A printed report as data: pages of texts, lines and boxes. Builders set
// the font and colour as they would on the printer, then place each item.
class PrintDocument
{
public:
    explicit PrintDocument(const QString &title = QString());

    const QString &title() const { return m_title; }
    void setTitle(const QString &title) { m_title = title; }
    bool landscape() const { return m_landscape; }
    void setLandscape(bool on) { m_landscape = on; }

    void setFont(const QString &family, bool bold = false);
    void setBold(bool bold) { m_bold = bold; }
    void setColour(const QColor &colour) { m_colour = colour; }
    void setDrawWidth(int dots) { m_drawWidth = dots; }

    // The printer's one small routine: position and size, then the text.
    void text(int x, int y, double size, const QString &text);
    // A text that must end before `right` (its column's edge): on paper and
    // on screen it is shrunk to a readable minimum, then cut with "…".
    void text(int x, int y, double size, const QString &text, int right);
    // A text drawn in the current colour with a black edge.
    void outlinedText(int x, int y, double size, const QString &text);
    void line(int x1, int y1, int x2, int y2);
    void line(int x1, int y1, int x2, int y2, const QColor &colour);
    void box(int x1, int y1, int x2, int y2, const QColor &colour, bool filled);
    void newPage();

    const std::vector<PrintPage> &pages() const { return m_pages; }
    int pageCount() const { return int(m_pages.size()); }
    // Every text item of a page, in the order placed (for tests and look-ups).
    std::vector<PrintItem> texts(int page) const;

private:
    PrintItem styled(PrintItem::Kind kind) const;

    QString m_title;
    bool m_landscape = false;
    QString m_family;
    bool m_bold = false;
    QColor m_colour = Qt::black;
    int m_drawWidth = 1;
    std::vector<PrintPage> m_pages;
};

} // namespace kc
