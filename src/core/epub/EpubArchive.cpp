#include "EpubArchive.h"

#include <zip.h>

namespace {
QString libzipError(zip_error_t *error)
{
    return QString::fromLocal8Bit(zip_error_strerror(error));
}
} // namespace

QByteArray TEpubArchive::zip(const std::vector<TEpubFile> &files, const QDateTime &time, QString &error)
{
    zip_error_t zipError;
    zip_error_init(&zipError);
    // The archive is built in memory: the caller writes it through a temporary file.
    zip_source_t *buffer = zip_source_buffer_create(nullptr, 0, 0, &zipError);
    if (!buffer) {
        error = libzipError(&zipError);
        zip_error_fini(&zipError);
        return {};
    }
    zip_t *archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &zipError);
    if (!archive) {
        error = libzipError(&zipError);
        zip_source_free(buffer);
        zip_error_fini(&zipError);
        return {};
    }
    // Closing the archive would free the buffer it wrote to; it is kept to read the result.
    zip_source_keep(buffer);
    const time_t mtime = time.isValid() ? time_t(time.toSecsSinceEpoch()) : 0;
    bool added = true;
    for (const TEpubFile &file : files) {
        zip_source_t *source = zip_source_buffer(archive, file.bytes.constData(), zip_uint64_t(file.bytes.size()), 0);
        const zip_int64_t index =
            source ? zip_file_add(archive, file.name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8) : -1;
        if (index < 0) {
            zip_source_free(source);
            added = false;
            break;
        }
        zip_set_file_compression(archive, zip_uint64_t(index), file.compressed ? ZIP_CM_DEFLATE : ZIP_CM_STORE, 0);
        if (mtime)
            zip_file_set_mtime(archive, zip_uint64_t(index), mtime, 0);
    }
    if (!added || zip_close(archive) < 0) {
        error = libzipError(zip_get_error(archive));
        zip_discard(archive);
        zip_source_free(buffer);
        zip_error_fini(&zipError);
        return {};
    }
    QByteArray bytes;
    zip_stat_t stat;
    if (zip_source_open(buffer) == 0 && zip_source_stat(buffer, &stat) == 0 && (stat.valid & ZIP_STAT_SIZE)) {
        bytes.resize(qsizetype(stat.size));
        if (zip_source_read(buffer, bytes.data(), stat.size) != zip_int64_t(stat.size)) {
            error = libzipError(zip_source_error(buffer));
            bytes.clear();
        }
        zip_source_close(buffer);
    } else {
        error = libzipError(zip_source_error(buffer));
    }
    zip_source_free(buffer);
    zip_error_fini(&zipError);
    return bytes;
}
