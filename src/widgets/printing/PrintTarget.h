#pragma once

#include "printing/PageGeometry.h"
#include "printing/PrintLayout.h"

#include <memory>

class QPrinter;
class TDocumentTree;

// Where "印刷" sends the pages: the default printer when one is installed, otherwise a PDF file
// of A4 pages (most desktops at home have no printer, and can then still preview and print).
class TPrintTarget
{
public:
    // Looks for the printers installed now.
    TPrintTarget();
    ~TPrintTarget();

    // Null when there is no printer: the pages go to a PDF file.
    QPrinter *printer() const { return m_printer.get(); }
    // The printer's page, or the PDF file's.
    TPageGeometry::TPrinterPage page() const;

    // Prints on the printer as one job with title; false when the printer could not start.
    bool print(const TDocumentTree &tree, const TPrintOptions &options, const QString &title,
               const TPrintLayout::Progress &progress = {});

private:
    std::unique_ptr<QPrinter> m_printer;
};
