#pragma once

#include <QByteArray>
#include <QSizeF>
#include <QString>
#include <QStringList>

// Joins PDF files into one with libqpdf and, when an overlay is given, draws its page i over
// page i of the result (its page count matches).
class TPdfJoiner
{
public:
    // The joined PDF, or an empty array with error set.
    static QByteArray join(const QStringList &inputs, const QString &overlay, QString &error);
    // Pages of a PDF file and the size of its first page in points; -1 on failure.
    static int pageCount(const QString &path, QSizeF *firstPageSize, QString &error);
};
