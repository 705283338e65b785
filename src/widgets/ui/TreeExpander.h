#pragma once

#include <QtGlobal>
#include <array>

class TOlvekTreeView;

// Opens or closes every item of one tree level at once, behind the expander buttons above the
// tree. It remembers per level whether the level was last opened or closed; expanding items by
// hand does not change that.
class TTreeExpander
{
public:
    static constexpr int Levels = 6;

    // The tree is not owned.
    explicit TTreeExpander(TOlvekTreeView *tree);

    // 1: the level was last opened (or never touched); 0: it was last closed.
    int State(int level) const;
    void OpenLevel(int level);
    void CloseLevel(int level);
    void ToggleLevel(int level);

private:
    void setLevelExpanded(int level, bool expanded);

    std::array<quint16, Levels> m_levelState;
    TOlvekTreeView *m_tree;
};
