#pragma once

#include <QObject>
#include <QString>

// The state of the open document as a file: its name, whether it has unsaved changes, the format
// version and encoding it was read in or will be written in, and the flags that silence the
// navigator and the command refresh while a document is being replaced.
class TDocumentState : public QObject
{
    Q_OBJECT
public:
    static const QString UntitledName; // "NonTitled"
    static constexpr qint64 JsonFormatVersion = 20000;
    static constexpr qint64 LegacyFormatVersion = 10000;
    static constexpr qint64 LegacyAcceptedVersion = 11000;

    enum class SaveFileType { Json = 1, Legacy = 2 };

    explicit TDocumentState(QObject *parent = nullptr);

    const QString &fileName() const { return m_fileName; }
    void setFileName(const QString &fileName);
    bool isUntitled() const;

    bool isModified() const { return m_modified; }
    void setModified(bool modified);

    qint64 formatVersion() const { return m_formatVersion; }
    void setFormatVersion(qint64 version) { m_formatVersion = version; }

    // "UTF8" or "SJIS".
    const QString &encodingLabel() const { return m_encodingLabel; }
    void setEncodingLabel(const QString &label);

    SaveFileType saveFileType() const { return m_saveFileType; }
    void setSaveFileType(SaveFileType type) { m_saveFileType = type; }

    bool isLoading() const { return m_loading; }
    void setLoading(bool loading) { m_loading = loading; }

    bool isRefreshEnabled() const { return m_refreshEnabled; }
    void setRefreshEnabled(bool enabled) { m_refreshEnabled = enabled; }

Q_SIGNALS:
    void modifiedChanged(bool modified);
    void fileNameChanged(const QString &fileName);
    void encodingLabelChanged(const QString &label);

private:
    QString m_fileName;
    bool m_modified = false;
    qint64 m_formatVersion = JsonFormatVersion;
    QString m_encodingLabel;
    SaveFileType m_saveFileType = SaveFileType::Json;
    bool m_loading = false;
    bool m_refreshEnabled = true;
};
