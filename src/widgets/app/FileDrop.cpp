#include "FileDrop.h"

#include "DocumentFiles.h"
#include "EditingSession.h"
#include "ExportCommands.h"
#include "TreeCurrentScope.h"
#include "app/Prompt.h"
#include "ui/MainFormU1.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>

const QString TFileDrop::OneFileMessage = QStringLiteral("ファイルは1つずつドロップしてください");
const QString TFileDrop::UnsupportedMessage =
    QStringLiteral("このファイルは開けません。開けるのは文書 (.olvx、.olv) とテキストファイル (.txt) です: %1");

TFileDrop::TFileDrop(TEditingSession &session, TMainForm &form, TExportCommands &exports, QObject *parent)
    : QObject(parent), m_session(session), m_form(form), m_exports(exports)
{
    // Drops reach the window also where no control takes them (tool bars, status bars).
    form.setAcceptDrops(true);
    qApp->installEventFilter(this);
}

TFileDrop::~TFileDrop()
{
    qApp->removeEventFilter(this);
}

bool TFileDrop::carriesFiles(const QMimeData *mime)
{
    if (!mime || !mime->hasUrls())
        return false;
    const QList<QUrl> urls = mime->urls();
    if (urls.isEmpty())
        return false;
    for (const QUrl &url : urls) {
        if (!url.isLocalFile())
            return false;
    }
    return true;
}

bool TFileDrop::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return QObject::eventFilter(watched, event);
    if (!watched->isWidgetType() || static_cast<QWidget *>(watched)->window() != &m_form)
        return QObject::eventFilter(watched, event);
    auto *drop = static_cast<QDropEvent *>(event);
    if (!carriesFiles(drop->mimeData()))
        return QObject::eventFilter(watched, event);
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (type == QEvent::Drop) {
        // Questions and dialogs wait until the drag is over: the program the file came from
        // waits for the drop to end.
        const QList<QUrl> urls = drop->mimeData()->urls();
        QTimer::singleShot(0, this, [this, urls] { dropFiles(urls); });
    }
    return true;
}

void TFileDrop::dropFiles(const QList<QUrl> &urls)
{
    if (urls.size() != 1) {
        TPrompt::current().showMessage(OneFileMessage);
        return;
    }
    const QFileInfo file(urls.constFirst().toLocalFile());
    const QString suffix = file.suffix().toLower();
    if (!file.isFile() || !QStringList{"olvx", "olv", "txt"}.contains(suffix)) {
        TPrompt::current().showMessage(UnsupportedMessage.arg(file.fileName().isEmpty() ? urls.constFirst().toString()
                                                                                        : file.fileName()));
        return;
    }
    if (suffix == QLatin1String("txt"))
        m_exports.importFile(file.absoluteFilePath());
    else
        openDocument(file.absoluteFilePath());
}

void TFileDrop::openDocument(const QString &path)
{
    TDocumentFiles *files = m_session.files();
    TTreeCurrentScope current(m_session);
    if (!files->ConfirmSaveBeforeClose())
        return;
    // As a document chosen in the open dialog: its folder becomes the current one.
    QDir::setCurrent(QFileInfo(path).absolutePath());
    files->OpenDocumentFile(path);
}
