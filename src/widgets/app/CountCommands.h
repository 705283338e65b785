#pragma once

#include "app/DocumentTarget.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <optional>

class TCountPanel;
class TCountTargetDialog;
class TDocumentCounter;
class TEditingSession;
class TMain;
class TMainForm;

// The main document's count in view: the panel at the right of the editor's status bar ("文書全体
// の文字数": characters, manuscript pages, the target with the progress towards it, and what was
// written today), the target of each document (kept in the settings file under the document's
// path, never in the document), and the counts of the document information page while the
// writer goes on writing. Owns the counter and the target dialog.
//
// The panel shows while Form/DocumentCount says so; without the key, while the document has a
// target.
class TCountCommands : public QObject
{
    Q_OBJECT
public:
    // Nothing is owned; all outlive the commands.
    TCountCommands(TEditingSession &session, TMain &main, TMainForm &form);
    ~TCountCommands() override;

    TDocumentCounter &counter() const { return *m_counter; }
    TCountPanel *panel() const { return m_panel; }
    TCountTargetDialog *dlgCountTarget() const { return m_dialog; }
    const std::optional<TCountTarget> &target() const { return m_target; }
    // The panel's text, also while the panel is hidden (and counting).
    QString text() const;
    // Something besides the panel wants the count kept (the distraction-free view).
    void setCountingWanted(bool wanted);

    // 表示 → 文書全体の文字数.
    void ViewDocumentCount(bool shown);
    // 表示 → 目標の設定...: asks for the open document's target and keeps it.
    void ViewCountTarget();
    void setTarget(const std::optional<TCountTarget> &target);

Q_SIGNALS:
    void textChanged(const QString &text);

private:
    bool panelWanted() const;
    void applyVisibility();
    void update();
    // Takes the target of a document just opened, or carries the target over to the name the
    // document was just saved under; run once the event loop has seen the whole change.
    void resolveTarget();
    QString documentKey() const;

    TEditingSession &m_session;
    TMain &m_main;
    TMainForm &m_form;
    TDocumentCounter *m_counter;
    TCountPanel *m_panel;
    TCountTargetDialog *m_dialog;
    std::optional<TCountTarget> m_target;
    QString m_targetFile;
    bool m_treeReplaced = true;
    bool m_countingWanted = false;
    QTimer m_resolve;
    QString m_text;
};
