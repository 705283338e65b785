#pragma once

#include <QList>
#include <QObject>
#include <QUrl>

class QMimeData;
class TEditingSession;
class TExportCommands;
class TMainForm;

// Files dropped anywhere on the main window. A document (.olvx, .olv) is opened after the usual
// question about the open document; a text file (.txt) is imported as the import dialog says
// (a new document, under or after the selected item); any other file is refused with a message
// and changes nothing. The drop is taken before the control under it, so the body editor never
// receives a file's name as text, and is acted on once the drag has ended.
class TFileDrop : public QObject
{
    Q_OBJECT
public:
    static const QString OneFileMessage;        // "ファイルは1つずつドロップしてください"
    static const QString UnsupportedMessage;    // "…: %1"

    // Nothing is owned; all outlive the drop handler.
    TFileDrop(TEditingSession &session, TMainForm &form, TExportCommands &exports, QObject *parent = nullptr);
    ~TFileDrop() override;

    // What dropping these files does.
    void dropFiles(const QList<QUrl> &urls);
    // Local files, and not the navigator's own items being dragged.
    static bool carriesFiles(const QMimeData *mime);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void openDocument(const QString &path);

    TEditingSession &m_session;
    TMainForm &m_form;
    TExportCommands &m_exports;
};
