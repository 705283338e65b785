#include "MessageBoxPrompt.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

const QString TMessageBoxPrompt::ApplicationTitle = QStringLiteral("OLVEK(おるべく)");

QString TMessageBoxPrompt::nameFilter(const FileFilter &filter)
{
    QStringList patterns = filter.patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString &pattern : patterns) {
        pattern = pattern.trimmed();
        if (pattern == QLatin1String("*.*"))
            pattern = QStringLiteral("*");
    }
    const QString list = QLatin1Char('(') + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    // A description that already ends with its patterns shows them once.
    if (filter.description.endsWith(list))
        return filter.description;
    return filter.description + QLatin1Char(' ') + list;
}

namespace {
// The file dialog of a request. Before it asks whether to replace a file and accepts, a name
// that needs the chosen type's extension gets it (TPrompt::nameForType), so that the question
// and the caller see the name that will be written.
class TFileChoiceDialog : public QFileDialog
{
public:
    TFileChoiceDialog(const TPrompt::FileRequest &request, QWidget *parent)
        : QFileDialog(parent, request.title, request.initialDirectory), m_request(request)
    {
        for (const TPrompt::FileFilter &filter : request.filters)
            m_nameFilters << TMessageBoxPrompt::nameFilter(filter);
    }

    const QStringList &nameFilterTexts() const { return m_nameFilters; }

    void accept() override
    {
        const QStringList files = selectedFiles();
        if (acceptMode() == AcceptSave && files.size() == 1) {
            const int type = int(m_nameFilters.indexOf(selectedNameFilter()));
            const QString named = TPrompt::nameForType(m_request, files.front(), type);
            if (named != files.front()) {
                // The dialog would ask about the name as typed, which does not exist: the
                // question is asked here about the name that will be written.
                if (QFileInfo::exists(named) && !testOption(DontConfirmOverwrite)) {
                    const QString question = QFileDialog::tr("%1 already exists.\nDo you want to replace it?")
                                                 .arg(QFileInfo(named).fileName());
                    if (QMessageBox::warning(this, windowTitle(), question, QMessageBox::Yes | QMessageBox::No,
                                             QMessageBox::No)
                        != QMessageBox::Yes)
                        return;
                }
                setOption(DontConfirmOverwrite, true);
                selectFile(named);
            }
        }
        QFileDialog::accept();
    }

private:
    const TPrompt::FileRequest &m_request;
    QStringList m_nameFilters;
};
} // namespace

TPrompt::Answer TMessageBoxPrompt::ask(Kind kind, const QString &text)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(boxCaption());
    box.setText(text);
    box.setIcon(kind == Kind::Error ? QMessageBox::Critical
                : kind == Kind::Message ? QMessageBox::Information
                                        : QMessageBox::Question);

    struct Button
    {
        QMessageBox::StandardButton standard;
        const char *text;
        Answer answer;
    };
    std::vector<Button> buttons;
    switch (kind) {
    case Kind::YesNo:
        buttons = {{QMessageBox::Yes, "はい(&Y)", Answer::Yes}, {QMessageBox::No, "いいえ(&N)", Answer::No}};
        break;
    case Kind::YesNoCancel:
        buttons = {{QMessageBox::Yes, "はい(&Y)", Answer::Yes},
                   {QMessageBox::No, "いいえ(&N)", Answer::No},
                   {QMessageBox::Cancel, "キャンセル", Answer::Cancel}};
        break;
    case Kind::OkCancel:
        buttons = {{QMessageBox::Ok, "OK", Answer::Ok}, {QMessageBox::Cancel, "キャンセル", Answer::Cancel}};
        break;
    default:
        buttons = {{QMessageBox::Ok, "OK", Answer::Ok}};
        break;
    }
    QMessageBox::StandardButtons standardButtons;
    for (const Button &b : buttons)
        standardButtons |= b.standard;
    box.setStandardButtons(standardButtons);
    for (const Button &b : buttons)
        box.button(b.standard)->setText(QString::fromUtf8(b.text));
    // The first button is the default one; Escape picks the last (No, Cancel or OK).
    box.setDefaultButton(buttons.front().standard);
    box.setEscapeButton(buttons.back().standard);

    const auto clicked = QMessageBox::StandardButton(box.exec());
    for (const Button &b : buttons) {
        if (b.standard == clicked)
            return b.answer;
    }
    return buttons.back().answer;
}

TPrompt::FileChoice TMessageBoxPrompt::chooseFile(Kind kind, const FileRequest &request)
{
    TFileChoiceDialog dialog(request, QApplication::activeWindow());
    const bool saving = kind == Kind::SaveFile;
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // The open dialog also takes a name that does not exist; the open itself says so.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);

    const QStringList &nameFilters = dialog.nameFilterTexts();
    // A name typed without an extension gets the one of the type chosen at that moment, so that
    // the overwrite question and the caller see the name that will be written.
    const auto followType = [&](const QString &chosenFilter) {
        const qsizetype index = nameFilters.indexOf(chosenFilter);
        const QString extension = index >= 0 ? TPrompt::filterExtension(request.filters[size_t(index)]) : QString();
        dialog.setDefaultSuffix(extension.isEmpty() ? request.defaultExtension : extension);
    };
    dialog.setDefaultSuffix(request.defaultExtension);
    if (!nameFilters.isEmpty()) {
        dialog.setNameFilters(nameFilters);
        const QString chosenFirst = nameFilters.value(request.filterIndex, nameFilters.front());
        dialog.selectNameFilter(chosenFirst);
        followType(chosenFirst);
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, followType);
    }
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);

    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    FileChoice choice;
    choice.path = dialog.selectedFiles().front();
    choice.filterIndex = int(std::max<qsizetype>(0, nameFilters.indexOf(dialog.selectedNameFilter())));
    return choice;
}

QString TMessageBoxPrompt::boxCaption() const
{
    if (!caption().isEmpty())
        return caption();
    return ApplicationTitle;
}

TPrompt::Answer TMessageBoxPrompt::execDialog(QObject &dialog)
{
    auto *window = qobject_cast<QDialog *>(&dialog);
    if (!window)
        return Answer::Cancel;
    return window->exec() == QDialog::Accepted ? Answer::Ok : Answer::Cancel;
}
