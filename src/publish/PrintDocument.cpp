#include "publish/PrintDocument.h"

namespace kc {

PrintDocument::PrintDocument(const QString &title) : m_title(title), m_pages(1) { }

void PrintDocument::setFont(const QString &family, bool bold)
{
    m_family = family;
    m_bold = bold;
}

PrintItem PrintDocument::styled(PrintItem::Kind kind) const
{
    PrintItem item;
    item.kind = kind;
    item.fontFamily = m_family;
    item.bold = m_bold;
    item.colour = m_colour;
    item.drawWidth = m_drawWidth;
    return item;
}

void PrintDocument::text(int x, int y, double size, const QString &text)
{
    PrintItem item = styled(PrintItem::Kind::Text);
    item.x = x;
    item.y = y;
    item.fontSize = size;
    item.text = text;
    m_pages.back().items.push_back(item);
}

void PrintDocument::text(int x, int y, double size, const QString &text, int right)
{
    this->text(x, y, size, text);
    m_pages.back().items.back().right = right;
}

void PrintDocument::outlinedText(int x, int y, double size, const QString &text)
{
    this->text(x, y, size, text);
    m_pages.back().items.back().outlined = true;
}

void PrintDocument::line(int x1, int y1, int x2, int y2)
{
    line(x1, y1, x2, y2, m_colour);
}

void PrintDocument::line(int x1, int y1, int x2, int y2, const QColor &colour)
{
    PrintItem item = styled(PrintItem::Kind::Line);
    item.x = x1;
    item.y = y1;
    item.x2 = x2;
    item.y2 = y2;
    item.colour = colour;
    m_pages.back().items.push_back(item);
}

void PrintDocument::box(int x1, int y1, int x2, int y2, const QColor &colour, bool filled)
{
    PrintItem item = styled(PrintItem::Kind::Box);
    item.x = x1;
    item.y = y1;
    item.x2 = x2;
    item.y2 = y2;
    item.colour = colour;
    item.filled = filled;
    m_pages.back().items.push_back(item);
}

void PrintDocument::newPage()
{
    m_pages.emplace_back();
}

std::vector<PrintItem> PrintDocument::texts(int page) const
{
    std::vector<PrintItem> out;
    if (page < 0 || page >= pageCount())
        return out;
    for (const PrintItem &item : m_pages[page].items)
        if (item.kind == PrintItem::Kind::Text)
            out.push_back(item);
    return out;
}

} // namespace kc
