#pragma once

#include "printing/PageGeometry.h"
#include "printing/PrintLayout.h"
#include "files/FileResult.h"

class TDocumentTree;

// The print layout written as a PDF file of A4 pages at 600 dots per inch, with no printing
// offset: what a machine without a printer prints to.
class TPdfPrinting
{
public:
    static constexpr int Resolution = 600;

    // The A4 page as a printer page of this resolution.
    static TPageGeometry::TPrinterPage Page();

    // Writes the pages to path; the file gets its name only once it is complete, so a failure
    // leaves no half-written file (and an older file as it was). title is the document's title
    // in the file.
    static TFileResult Write(const QString &path, const TDocumentTree &tree, const TPrintOptions &options,
                             const QString &title, const TPrintLayout::Progress &progress = {});
};
