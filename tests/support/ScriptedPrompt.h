#pragma once

#include "app/Prompt.h"

#include <deque>
#include <vector>

// A prompt for tests: records every box and dialog with its exact texts, answers questions and
// file dialogs from a script in order, and fails the running test when asked something that was
// not scripted (or scripted with an answer of the wrong sort). A dialog of the program's own is a
// question whose text is its object name, answered Ok or Cancel; the test sets its controls up
// before. Installs itself as the current prompt while it lives.
class TScriptedPrompt : public TPrompt
{
public:
    struct Call
    {
        Kind kind;
        QString text;        // message boxes
        QString caption;     // the caption in force at the time
        FileRequest request; // file dialogs
    };

    TScriptedPrompt();
    ~TScriptedPrompt() override;

    // The next question's answer: Yes, No, Ok or Cancel.
    void scriptAnswer(Answer answer);
    // The next file dialog's choice; an empty path scripts a cancel.
    void scriptFile(const QString &path, int filterIndex = 0);

    const std::vector<Call> &calls() const { return m_calls; }
    // The texts of the message boxes asked so far, in order.
    QStringList texts() const;
    int remainingScript() const { return int(m_script.size()); }
    void clear();

protected:
    Answer ask(Kind kind, const QString &text) override;
    FileChoice chooseFile(Kind kind, const FileRequest &request) override;

private:
    struct Scripted
    {
        bool isFile = false;
        Answer answer = Answer::Cancel;
        FileChoice file;
    };
    bool takeScripted(bool wantFile, Scripted &out, const QString &what);

    std::vector<Call> m_calls;
    std::deque<Scripted> m_script;
    TPrompt *m_previous = nullptr;
};
