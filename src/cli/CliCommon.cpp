#include "CliCommon.h"

#include "document/DocumentTree.h"
#include "files/DocumentStorage.h"

#include <QFileInfo>
#include <QStringEncoder>
#include <QTextStream>

#include <cstdio>

namespace CliCommon {

bool writeLines(const QStringList &lines)
{
    QStringEncoder encoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    qsizetype used = 0;
    bool written = true;
    const auto flush = [&] {
        written = written && std::fwrite(buffer.constData(), 1, size_t(used), stdout) == size_t(used);
        used = 0;
    };
    for (const QString &line : lines) {
        const qsizetype room = encoder.requiredSpace(line.size()) + 1;
        if (used + room > buffer.size()) {
            flush();
            if (room > buffer.size())
                buffer.resize(room);
        }
        used = encoder.appendToBuffer(buffer.data() + used, line) - buffer.constData();
        buffer[used++] = '\n';
    }
    flush();
    return std::fflush(stdout) == 0 && written;
}

void noteNulCharacters(const QString &path, qsizetype count)
{
    if (count > 0)
        QTextStream(stderr) << "olvek-cli: " << path << ": " << count << " NUL characters replaced by U+FFFD\n";
}

ExitCode readDocument(const QString &path, TDocumentTree &tree, ExitCode unknownExtension, qint64 *version)
{
    if (TDocumentStorage::formatOf(path) == TDocumentStorage::Format::Unknown) {
        QTextStream(stderr) << "olvek-cli: " << path << ": the extension must be .olvx or .olv\n";
        return unknownExtension;
    }
    const TFileResult opened = TDocumentStorage::readDocumentFile(path, tree);
    if (!opened.ok) {
        QTextStream(stderr) << "olvek-cli: " << path << ": " << opened.error << "\n";
        return ReadError;
    }
    noteNulCharacters(path, opened.nulCharacters);
    if (version)
        *version = opened.version;
    return Success;
}

OpenedDocument openDocument(const QString &path, ExitCode unknownExtension)
{
    OpenedDocument opened;
    TDocumentTree *tree = new TDocumentTree;
    opened.code = readDocument(path, *tree, unknownExtension, &opened.version);
    if (opened.code == Success)
        opened.tree = tree;
    return opened;
}

ExitCode writeDocument(TDocumentTree &tree, const QString &in, qint64 openedVersion, const QString &out)
{
    const auto outFormat = TDocumentStorage::formatOf(out);
    qint64 version = TDocumentStorage::formatOf(in) == TDocumentStorage::Format::Legacy
            && outFormat == TDocumentStorage::Format::Legacy
        ? openedVersion
        : TDocumentStorage::saveAsVersion(outFormat);
    const TFileResult saved = TDocumentStorage::writeDocumentFile(QFileInfo(out).absoluteFilePath(), tree, version);
    if (!saved.ok) {
        QTextStream(stderr) << "olvek-cli: " << out << ": " << saved.error << "\n";
        return saved.refused ? Refused : WriteError;
    }
    noteChangedTitles(out, saved);
    return Success;
}

void noteChangedTitles(const QString &out, const TFileResult &written)
{
    if (written.changedTitles > 0)
        QTextStream(stderr) << "olvek-cli: " << out << ": " << written.changedTitles
                            << " title(s) had characters outside Shift_JIS, written as \"?\"\n";
}

} // namespace CliCommon
