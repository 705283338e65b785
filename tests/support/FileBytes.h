#pragma once

#include <QByteArray>
#include <QString>

// Whole-file reads and writes for tests that look at the bytes on disk.

// The file's bytes; empty when it cannot be read.
QByteArray readFileBytes(const QString &path);
// Creates or replaces the file with bytes; false when it cannot be written.
bool writeFileBytes(const QString &path, const QByteArray &bytes);
