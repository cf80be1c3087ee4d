#pragma once

#include "SoakPieces.h"

class WindowPanel;

// The operator at the window: clicks cells, scrolls the grid, and renames
// ports in the name fields, committing each by clicking a cell, as the
// window's own tests do.
class OperatorActor final : public SoakActor
{
public:
    OperatorActor(WindowPanel &panel, SoakRandom &random, SoakCounts &counts)
        : m_panel(panel), m_random(random), m_counts(counts)
    {}

    void act() override;
    [[nodiscard]] bool settled() const override { return true; }
    void rest() override {}

private:
    void clickCell();

    WindowPanel &m_panel;
    SoakRandom &m_random;
    SoakCounts &m_counts;
};
