#pragma once

#include <QPushButton>

// A command button whose caption wraps onto further lines where the button
// is narrower than the text; the caption itself holds no line break.
class WrappingButton final : public QPushButton
{
public:
    WrappingButton(const QString &caption, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
};
