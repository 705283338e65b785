#pragma once

#include "search/FindHistory.h"

#include <QObject>
#include <memory>

class TEditingSession;
class TEditorReplaceView;
class TFindForm;
class TFindRecordList;
class TForwardSearch;
class TMain;
class TMainForm;
class TReplaceDialog;

// The search commands of the main window: the find dialog with its hit list (owned by the data
// module) and the commands Find, FindNext and FindPrev, and the replace dialog with FindReplace.
// Creates both dialogs at once, as children of the window, and loads the search history.
class TFindCommands : public QObject
{
    Q_OBJECT
public:
    static const QString DoneMessage;     // "置換終了しました"
    static const QString NotFoundMessage; // "見つかりませんでした"
    // A longer selection is not taken as the text to find.
    static constexpr int MaxSelectionAsFindText = 200;

    // None is owned; all outlive the commands, which are the session's child.
    TFindCommands(TMain &main, TMainForm &form, TEditingSession &session);
    ~TFindCommands() override;

    TFindForm *findForm() const { return m_findForm; }
    TReplaceDialog *replaceDialog() const { return m_replaceDialog; }
    const TFindHistory &history() const { return m_history; }

    void Find();
    // The "検索" button: fills the hit list from the search box and jumps to the current row's hit.
    void Search();
    // Selects the current row's hit in its item.
    void Jump();
    void FindNext();
    void FindPrev();
    void FindReplace();
    // Empties the hit list: the items the hits name are gone.
    void Clear();

    void ReplaceFindNext();
    void ReplaceReplace();
    void ReplaceReplaceAll();

private:
    void searchBoxLeft(const QString &text);
    void showHits();
    void stepTo(int row);
    bool refuseEmptyReplacement() const;
    void prepareForwardSearch();

    TMain &m_main;
    TMainForm &m_form;
    TEditingSession &m_session;
    TFindRecordList &m_hits;
    TFindHistory m_history;
    TFindForm *m_findForm;
    TReplaceDialog *m_replaceDialog;
    std::unique_ptr<TEditorReplaceView> m_replaceView;
    std::unique_ptr<TForwardSearch> m_search;
};
