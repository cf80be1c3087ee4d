#pragma once

#include <QComboBox>

// A drop-down list whose field also takes typed text, as the dialog's lists
// are. Typed text is never a choice: `chosen` is emitted only for an entry
// picked from the list (the dropped-down list, the arrow keys, the wheel),
// never for typed text that Qt matches to an entry when Enter is pressed or
// the field is left; `typed` tells that the operator changed the text.
class ChoiceList final : public QComboBox
{
    Q_OBJECT

public:
    explicit ChoiceList(QWidget *parent = nullptr);

signals:
    void chosen(int position);
    void typed();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    // Set while the field handles a key or its leaving: an entry Qt
    // activates then comes from the text, not from the list.
    bool m_inTextField = false;
};
