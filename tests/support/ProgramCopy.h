#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

class TVirtualDisplay;

// The real program copied with its image file into a fresh folder, where it keeps its settings
// (so it starts from the defaults and leaves the build alone), with one document beside it;
// started on a virtual display with its home (and its configuration and data folders) inside the
// folder, and killed when the object goes.
class TProgramCopy
{
public:
    TProgramCopy() = default;
    ~TProgramCopy();
    TProgramCopy(const TProgramCopy &) = delete;
    TProgramCopy &operator=(const TProgramCopy &) = delete;

    // Copies the program and writes the document; an empty text on success, else what failed.
    QString prepare(const QString &programPath, const QString &imageFile, const QByteArray &document,
                    const QString &documentName = QStringLiteral("doc.olvx"));
    // Starts the program on the display with the document's name as its argument, in the folder.
    bool start(const TVirtualDisplay &display);
    // The id of the main window once it shows the document in its caption; empty when it did not
    // come within timeout milliseconds.
    QString waitForDocumentWindow(const TVirtualDisplay &display, int timeout) const;

    QString filePath(const QString &name) const { return m_dir.filePath(name); }
    const QString &documentPath() const { return m_documentPath; }
    QProcess &process() { return m_process; }

private:
    QTemporaryDir m_dir;
    QString m_program;
    QString m_documentPath;
    QProcess m_process;
};
