#include "ui/config/ChoiceList.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QScopedValueRollback>

namespace {

// The keys that step through the list's entries.
bool isListKey(const QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return true;
    default:
        return false;
    }
}

} // namespace

ChoiceList::ChoiceList(QWidget *parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // No completion: what the field shows is what was typed, never an entry
    // that looks chosen but is not.
    setCompleter(nullptr);
    connect(this, &QComboBox::activated, this, [this](int position) {
        if (!m_inTextField)
            emit chosen(position);
    });
    connect(lineEdit(), &QLineEdit::textEdited, this, &ChoiceList::typed);
}

void ChoiceList::keyPressEvent(QKeyEvent *event)
{
    const QScopedValueRollback inTextField(m_inTextField, !isListKey(event));
    QComboBox::keyPressEvent(event);
}

void ChoiceList::focusOutEvent(QFocusEvent *event)
{
    const QScopedValueRollback inTextField(m_inTextField, true);
    QComboBox::focusOutEvent(event);
}
