#include "PdfJoiner.h"

#include <QSizeF>

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <memory>
#include <vector>

namespace {
std::string localPath(const QString &path)
{
    return path.toLocal8Bit().toStdString();
}

void stamp(QPDF &pdf, QPDFPageObjectHelper &page, QPDFObjectHandle form)
{
    static const std::string name = "/OlvekStamp";
    QPDFObjectHandle resources = page.getAttribute("/Resources", true);
    if (!resources.isDictionary()) {
        resources = QPDFObjectHandle::newDictionary();
        page.getObjectHandle().replaceKey("/Resources", resources);
    }
    QPDFObjectHandle objects = resources.getKey("/XObject");
    if (!objects.isDictionary()) {
        objects = QPDFObjectHandle::newDictionary();
        resources.replaceKey("/XObject", objects);
    }
    objects.replaceKey(name, form);
    const std::string place = page.placeFormXObject(form, name, page.getTrimBox().getArrayAsRectangle());
    // The page's own drawing keeps its state to itself; the stamp comes after it.
    page.addPageContents(QPDFObjectHandle::newStream(&pdf, "q\n"), true);
    page.addPageContents(QPDFObjectHandle::newStream(&pdf, "\nQ\nq\n" + place + "\nQ\n"), false);
}
} // namespace

QByteArray TPdfJoiner::join(const QStringList &inputs, const QString &overlay, QString &error)
{
    try {
        QPDF out;
        out.emptyPDF();
        QPDFPageDocumentHelper outPages(out);
        // The sources must live until the result is written.
        std::vector<std::unique_ptr<QPDF>> sources;
        for (const QString &input : inputs) {
            auto source = std::make_unique<QPDF>();
            source->processFile(localPath(input).c_str());
            for (QPDFPageObjectHelper &page : QPDFPageDocumentHelper(*source).getAllPages())
                outPages.addPage(page, false);
            sources.push_back(std::move(source));
        }
        QPDF marks; // like the sources, until the result is written
        if (!overlay.isEmpty()) {
            marks.processFile(localPath(overlay).c_str());
            std::vector<QPDFPageObjectHelper> pages = outPages.getAllPages();
            std::vector<QPDFPageObjectHelper> markPages = QPDFPageDocumentHelper(marks).getAllPages();
            for (size_t i = 0; i < pages.size() && i < markPages.size(); ++i)
                stamp(out, pages[i], out.copyForeignObject(markPages[i].getFormXObjectForPage()));
        }
        QPDFWriter writer(out);
        writer.setOutputMemory();
        writer.setObjectStreamMode(qpdf_o_generate);
        writer.write();
        std::shared_ptr<Buffer> buffer = writer.getBufferSharedPointer();
        return QByteArray(reinterpret_cast<const char *>(buffer->getBuffer()), qsizetype(buffer->getSize()));
    } catch (const std::exception &e) {
        error = QString::fromLocal8Bit(e.what());
        return {};
    }
}

int TPdfJoiner::pageCount(const QString &path, QSizeF *firstPageSize, QString &error)
{
    try {
        QPDF pdf;
        pdf.processFile(localPath(path).c_str());
        const std::vector<QPDFPageObjectHelper> pages = QPDFPageDocumentHelper(pdf).getAllPages();
        if (firstPageSize && !pages.empty()) {
            QPDFPageObjectHelper first = pages.front();
            const QPDFObjectHandle::Rectangle box = first.getMediaBox().getArrayAsRectangle();
            *firstPageSize = QSizeF(box.urx - box.llx, box.ury - box.lly);
        }
        return int(pages.size());
    } catch (const std::exception &e) {
        error = QString::fromLocal8Bit(e.what());
        return -1;
    }
}
