#include "DocumentState.h"

#include <QFileInfo>

const QString TDocumentState::UntitledName = QStringLiteral("NonTitled");

TDocumentState::TDocumentState(QObject *parent)
    : QObject(parent), m_fileName(UntitledName), m_encodingLabel(QStringLiteral("UTF8"))
{
}

void TDocumentState::setFileName(const QString &fileName)
{
    if (m_fileName == fileName)
        return;
    m_fileName = fileName;
    Q_EMIT fileNameChanged(m_fileName);
}

bool TDocumentState::isUntitled() const
{
    return QFileInfo(m_fileName).fileName() == UntitledName;
}

void TDocumentState::setModified(bool modified)
{
    if (m_modified == modified)
        return;
    m_modified = modified;
    Q_EMIT modifiedChanged(m_modified);
}

void TDocumentState::setEncodingLabel(const QString &label)
{
    if (m_encodingLabel == label)
        return;
    m_encodingLabel = label;
    Q_EMIT encodingLabelChanged(m_encodingLabel);
}
