#pragma once

#include "publish/PrintDocument.h"

#include <QPointer>
#include <functional>
#include <memory>

class QPainter;
class QPrinter;
class QWidget;

namespace kc::ui {

// The windows' printer: the printer dialog, then the document painted on the
// chosen printer. One per main window; it keeps the document it is printing,
// so a document left open (a failure part way) can be ended from mmPrintend.
class PrintRenderer
{
public:
    explicit PrintRenderer(QWidget *parent = nullptr);
    ~PrintRenderer();
    PrintRenderer(const PrintRenderer &) = delete;
    PrintRenderer &operator=(const PrintRenderer &) = delete;

    // Stands in for the printer dialog (tests): return false to cancel.
    using DialogHook = std::function<bool(QPrinter &)>;
    void setDialogHook(DialogHook hook) { m_dialogHook = std::move(hook); }

    // Where printing to a file goes by default: a full path for a document
    // title (the windows give the contest folder and the day).
    using FileNamer = std::function<QString(const QString &title)>;
    void setFileNamer(FileNamer namer) { m_fileNamer = std::move(namer); }
    // The default file for a title: empty without a namer.
    QString defaultFile(const QString &title) const;

    // The printer dialog, then every page, then the end of the document.
    // False when the dialog was cancelled: nothing printed, nothing changed.
    bool print(const PrintDocument &document);
    // The print preview, from which the document can be printed.
    void preview(const PrintDocument &document);

    // Step by step: begin (after the dialog), pages, end.
    bool beginDocument(const QString &title, bool landscape = false);
    // A page with its twips made `scale` times as large (the document's fit to the paper).
    void printPage(const PrintPage &page, double scale = 1);
    bool hasOpenDocument() const;
    // mmPrintend: ends the open document, which sends its pages to the printer.
    void endDocument();

private:
    bool choosePrinter(QPrinter &printer);
    void offerFile(QPrinter &printer) const;

    QPointer<QWidget> m_parent;
    DialogHook m_dialogHook;
    FileNamer m_fileNamer;
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<QPainter> m_painter;
    int m_pages = 0;
};

} // namespace kc::ui
