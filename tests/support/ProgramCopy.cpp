#include "ProgramCopy.h"

#include "VirtualDisplay.h"

#include <QFile>
#include <QFileInfo>

TProgramCopy::~TProgramCopy()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished();
    }
}

QString TProgramCopy::prepare(const QString &programPath, const QString &imageFile, const QByteArray &document,
                              const QString &documentName)
{
    if (!m_dir.isValid())
        return QStringLiteral("no temporary folder");
    m_program = m_dir.filePath(QStringLiteral("olvek"));
    if (!QFile::copy(programPath, m_program))
        return QStringLiteral("cannot copy the program from ") + programPath;
    if (!QFile::copy(imageFile, m_dir.filePath(QStringLiteral("olvek.bmp"))))
        return QStringLiteral("cannot copy the image file from ") + imageFile;
    m_documentPath = m_dir.filePath(documentName);
    QFile file(m_documentPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(document) != document.size())
        return QStringLiteral("cannot write ") + m_documentPath;
    return QString();
}

bool TProgramCopy::start(const TVirtualDisplay &display)
{
    QProcessEnvironment environment = display.environment();
    environment.insert(QStringLiteral("HOME"), m_dir.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), m_dir.filePath(QStringLiteral("data")));
    m_process.setProcessEnvironment(environment);
    m_process.setWorkingDirectory(m_dir.path());
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(m_program, {m_documentPath});
    return m_process.waitForStarted();
}

QString TProgramCopy::waitForDocumentWindow(const TVirtualDisplay &display, int timeout) const
{
    return display.waitForWindow(QFileInfo(m_documentPath).fileName().replace(u'.', QStringLiteral("\\.")), timeout);
}
