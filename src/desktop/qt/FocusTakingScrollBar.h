#pragma once

#include <QScrollBar>

namespace desktop {

// A scroll bar that takes the keyboard focus when it is clicked or turned by
// the wheel, before it moves: a field being typed in is left first, so what
// was typed is committed under the rows it was typed for. It stays out of
// the Tab order.
class FocusTakingScrollBar final : public QScrollBar
{
public:
    explicit FocusTakingScrollBar(QWidget *parent = nullptr);

protected:
    void wheelEvent(QWheelEvent *event) override;
};

} // namespace desktop
