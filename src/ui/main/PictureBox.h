#pragma once

#include <QPixmap>
#include <QWidget>

// A control showing one of the stored pictures, with the press, release and
// click events of a picture button. Captions laid over it let clicks through,
// so a click on a caption is a click on the picture.
class PictureBox final : public QWidget
{
    Q_OBJECT

public:
    explicit PictureBox(QWidget *parent = nullptr);

    void setPicture(const QPixmap &picture);
    [[nodiscard]] const QPixmap &picture() const { return m_picture; }

signals:
    void pressed();
    // Where the mouse was released, relative to this control.
    void released(QPoint position);
    // Pressed and released inside.
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QPixmap m_picture;
};
