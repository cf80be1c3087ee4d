#pragma once

#include <QDialog>

class QLabel;

// "About": the program's name, version and contact lines, and two links
// (home page, support e-mail) opened through the shell. A click anywhere
// else, except on the title's face, closes it, as do OK and Enter.
class frmAbout : public QDialog
{
    Q_OBJECT

public:
    explicit frmAbout(QWidget *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QLabel *addLabel(const QString &name, const QString &text, const QRect &geometry);
    QLabel *addLink(const QString &name, const QString &text, int top);
    void lblHome_Click();
    void lblMail_Click();

    QLabel *m_Label1 = nullptr;
    QLabel *m_Label2 = nullptr;
    QLabel *m_lblVersion = nullptr;
    QLabel *m_Label3 = nullptr;
    QLabel *m_lblHome = nullptr;
    QLabel *m_lblMail = nullptr;
};
