#pragma once

#include "SoakPieces.h"

#include <QSet>

class WindowPanel;

// The names the window shows in its sixteen input and output name fields
// and the button panel's captions, and the markers of its grid ("cell O I":
// 0 none, 1 video, 2 audio, 3 both), at the grid's scroll position.
class WindowView final : public InvariantSource
{
public:
    explicit WindowView(const WindowPanel &panel) : m_panel(panel) {}
    [[nodiscard]] QString name() const override { return QStringLiteral("window's names and grid"); }
    [[nodiscard]] Facts read() override;
    [[nodiscard]] Facts expected(const Facts &reference) const override;

private:
    const WindowPanel &m_panel;
    QSet<QString> m_shown;
};
