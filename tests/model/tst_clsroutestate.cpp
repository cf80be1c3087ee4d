#include "model/clsRouteState.h"

#include <QTest>

class TestClsRouteState : public QObject
{
    Q_OBJECT

private slots:
    // Steps are written "v5 a5": set Video to 5, then Audio to 5.
    void sequences_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<int>("video");
        QTest::addColumn<int>("audio");
        QTest::addColumn<bool>("split");

        QTest::newRow("new state") << "" << -1 << -1 << false;
        QTest::newRow("video then same audio") << "v5 a5" << 5 << 5 << false;
        QTest::newRow("video alone") << "v5" << 5 << -1 << true;
        QTest::newRow("levels part") << "v5 a5 v7" << 7 << 5 << true;
        QTest::newRow("none set explicitly") << "v-1 a-1" << -1 << -1 << true;
        QTest::newRow("audio alone") << "a4" << -1 << 4 << true;
        QTest::newRow("levels meet again") << "v1 a2 v2" << 2 << 2 << false;
    }

    void sequences()
    {
        QFETCH(QString, steps);
        clsRouteState state;
        for (const QString &step : steps.split(u' ', Qt::SkipEmptyParts)) {
            const int value = step.mid(1).toInt();
            if (step.startsWith(u'v'))
                state.setVideo(value);
            else
                state.setAudio(value);
        }
        QTEST(state.Video(), "video");
        QTEST(state.Audio(), "audio");
        QTEST(state.isSplit, "split");
    }
};

QTEST_GUILESS_MAIN(TestClsRouteState)
#include "tst_clsroutestate.moc"
