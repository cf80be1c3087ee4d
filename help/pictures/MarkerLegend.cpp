#include "MarkerLegend.h"

#include "ui/main/Pictures.h"

#include <QPainter>

namespace {

constexpr int RowHeight = 28;
constexpr int Margin = 4;
constexpr int SampleWidth = 28;

} // namespace

QImage drawMarkerLegend(const Pictures &pictures)
{
    QImage legend(MarkerLegendWidth, MarkerLegendHeight, QImage::Format_RGB32);
    legend.fill(Qt::white);
    QPainter painter(&legend);
    const QList<QString> meanings{
        QStringLiteral("Video: this input feeds the output's video"),
        QStringLiteral("Audio: this input feeds the output's audio"),
        QStringLiteral("Both: video and audio come from this input"),
        QStringLiteral("Selected output: sunken number, wide column line"),
    };
    for (int row = 0; row < meanings.size(); ++row) {
        const int top = Margin + row * RowHeight;
        const QRect sample(Margin, top, SampleWidth, RowHeight);
        if (row < 3) {
            const QPixmap &disc = pictures.imgCPSource[std::size_t(row + 1)];
            painter.drawPixmap(sample.center() - QPoint(Pictures::CellSize.width(), Pictures::CellSize.height()) / 2,
                               disc);
        } else {
            const QSize button = Pictures::OutputButtonSize;
            const int left = sample.center().x() - button.width() / 2;
            painter.fillRect(QRect(sample.center().x() - 2, top + button.height(), 4, RowHeight - button.height()),
                             Pictures::GridLineColour);
            painter.drawPixmap(QPoint(left, top), pictures.imgMButtonDown);
        }
        painter.setPen(Qt::black);
        painter.drawText(QRect(sample.right() + 8, top, MarkerLegendWidth, RowHeight), Qt::AlignVCenter, meanings[row]);
    }
    return legend;
}
