#pragma once

#include "TreeStep.h"

#include <QHash>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

class TDocumentTree;

// Everything one command changed in a document tree, as TTreeChangeRecorder wrote it down: the
// structural steps in their order, and for every item whose title or expanded state changed (and
// for the new-item counter) the value before and after the command. Undoing takes the steps back
// in reverse order and then sets the values before; redoing makes the steps again and sets the
// values after. Owns the steps and, through them, every item taken out of the tree.
class TTreeChange
{
public:
    enum class Side { Before, After };

    TTreeChange();
    ~TTreeChange();
    TTreeChange(const TTreeChange &) = delete;
    TTreeChange &operator=(const TTreeChange &) = delete;

    // True when the tree ended as it began.
    bool isEmpty() const;
    // True when the command changed titles and nothing else.
    bool changesOnlyTitles() const;
    // Takes later's result as this change's own: both change only titles, later directly after
    // this one (typing on in the same title).
    void mergeTitles(const TTreeChange &later);

    // What the steps name, all together.
    TTreeStepNames names() const;
    // True when a step names one of the items of other, or changes the rows of one of its parents:
    // after a change that names these, this change would no longer find the tree as it left it.
    bool touches(const TTreeStepNames &other) const;

    void undoSteps(TDocumentTree &tree);
    void redoSteps(TDocumentTree &tree);
    // Sets the titles, expanded states and counter to their values on side.
    void applyValues(TDocumentTree &tree, Side side) const;

private:
    friend class TTreeChangeRecorder;
    // Notes the values after the command for every item noted before, dropping what came back
    // to its value before.
    void noteValuesAfter(const TDocumentTree &tree);

    std::vector<std::unique_ptr<TTreeStep>> m_steps;
    QHash<quint64, QString> m_titlesBefore;
    QHash<quint64, QString> m_titlesAfter;
    QHash<quint64, bool> m_expandedBefore;
    QHash<quint64, bool> m_expandedAfter;
    std::optional<int> m_counterBefore;
    int m_counterAfter = 0;
};
