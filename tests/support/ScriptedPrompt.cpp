#include "ScriptedPrompt.h"

#include <QTest>

namespace {

const char *kindName(TPrompt::Kind kind)
{
    switch (kind) {
    case TPrompt::Kind::Message: return "message";
    case TPrompt::Kind::Error: return "error";
    case TPrompt::Kind::YesNo: return "Yes/No";
    case TPrompt::Kind::YesNoCancel: return "Yes/No/Cancel";
    case TPrompt::Kind::OkCancel: return "OK/Cancel";
    case TPrompt::Kind::OpenFile: return "open dialog";
    case TPrompt::Kind::SaveFile: return "save dialog";
    case TPrompt::Kind::Dialog: return "dialog";
    }
    return "?";
}

bool answerFits(TPrompt::Kind kind, TPrompt::Answer answer)
{
    using A = TPrompt::Answer;
    switch (kind) {
    case TPrompt::Kind::YesNo: return answer == A::Yes || answer == A::No;
    case TPrompt::Kind::YesNoCancel: return answer == A::Yes || answer == A::No || answer == A::Cancel;
    case TPrompt::Kind::OkCancel:
    case TPrompt::Kind::Dialog: return answer == A::Ok || answer == A::Cancel;
    default: return false;
    }
}

} // namespace

TScriptedPrompt::TScriptedPrompt()
    : m_previous(TPrompt::setCurrent(this))
{
}

TScriptedPrompt::~TScriptedPrompt()
{
    TPrompt::setCurrent(m_previous);
}

void TScriptedPrompt::scriptAnswer(Answer answer)
{
    m_script.push_back({false, answer, {}});
}

void TScriptedPrompt::scriptFile(const QString &path, int filterIndex)
{
    m_script.push_back({true, Answer::Cancel, {path, filterIndex}});
}

QStringList TScriptedPrompt::texts() const
{
    QStringList result;
    for (const Call &call : m_calls) {
        if (call.kind != Kind::OpenFile && call.kind != Kind::SaveFile)
            result << call.text;
    }
    return result;
}

void TScriptedPrompt::clear()
{
    m_calls.clear();
    m_script.clear();
}

TPrompt::Answer TScriptedPrompt::ask(Kind kind, const QString &text)
{
    m_calls.push_back({kind, text, caption(), {}});
    if (kind == Kind::Message || kind == Kind::Error)
        return Answer::Ok;

    const QString what = QStringLiteral("%1 \"%2\"").arg(QLatin1String(kindName(kind)), text);
    Scripted next;
    if (!takeScripted(false, next, what))
        return kind == Kind::YesNo ? Answer::No : Answer::Cancel;
    if (!answerFits(kind, next.answer)) {
        QTest::qFail(qPrintable(QStringLiteral("scripted answer does not fit the %1").arg(what)),
                     __FILE__, __LINE__);
        return kind == Kind::YesNo ? Answer::No : Answer::Cancel;
    }
    return next.answer;
}

TPrompt::FileChoice TScriptedPrompt::chooseFile(Kind kind, const FileRequest &request)
{
    m_calls.push_back({kind, {}, caption(), request});
    Scripted next;
    if (!takeScripted(true, next, QStringLiteral("%1 \"%2\"").arg(QLatin1String(kindName(kind)), request.title)))
        return {};
    return next.file;
}

bool TScriptedPrompt::takeScripted(bool wantFile, Scripted &out, const QString &what)
{
    if (m_script.empty()) {
        QTest::qFail(qPrintable(QStringLiteral("unscripted %1").arg(what)), __FILE__, __LINE__);
        return false;
    }
    out = m_script.front();
    m_script.pop_front();
    if (out.isFile != wantFile) {
        QTest::qFail(qPrintable(QStringLiteral("the script expected %1, but was asked %2")
                                    .arg(QLatin1String(out.isFile ? "a file dialog" : "a question"), what)),
                     __FILE__, __LINE__);
        return false;
    }
    return true;
}
