#pragma once

#include <optional>

// The sizes of the tool bars for large (24-pixel) or small (16-pixel) button images.
struct TToolBarMetrics
{
    int iconSize;
    // Height of a row of the control bars cbarMain and cbarNavi.
    int rowSize;
    // Width and height of every tool button.
    int buttonSize;
    // The tool bars' height; unset when it is left as it is.
    std::optional<int> toolBarHeight;
    int fileWidth;
    int editWidth;
    int displayWidth;
    int treeEditWidth;
    int treeWidth;
    int jumpWidth;
    int jumpHeight;
};
