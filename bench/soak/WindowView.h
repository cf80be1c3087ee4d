#pragma once

#include "SoakPieces.h"

#include <QSet>

class WindowPanel;

// The names the window shows in its sixteen input and output name fields
// and the button panel's captions, at the grid's scroll position.
class WindowView final : public InvariantSource
{
public:
    explicit WindowView(const WindowPanel &panel) : m_panel(panel) {}
    [[nodiscard]] QString name() const override { return QStringLiteral("window's name fields"); }
    [[nodiscard]] Facts read() override;
    [[nodiscard]] Facts expected(const Facts &reference) const override;

private:
    const WindowPanel &m_panel;
    QSet<QString> m_shown;
};
