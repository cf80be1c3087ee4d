#include "model/MatrixView.h"
#include "support/DataRows.h"
#include "support/ScriptedDialogs.h"
#include "support/TestRouters.h"

#include <QRegularExpression>
#include <QTest>

namespace {

// "4:8@32/4@0": router 4 with 8 inputs from matrix input 32 and 4 outputs
// from matrix output 0; a trailing "*" makes it split; "7*" alone is a
// router with no ports.
RouterSlots routersFrom(const QString &description)
{
    RouterSlots routers;
    for (QString token : description.split(u' ', Qt::SkipEmptyParts)) {
        const bool split = token.endsWith(u'*');
        token.chop(split ? 1 : 0);
        const QStringList parts = token.split(QRegularExpression(QStringLiteral("[:@/]")));
        const auto n = [&](int i) { return parts[i].toInt(); };
        auto &slot = routers[std::size_t(n(0))];
        if (parts.size() == 5)
            addRouter(routers, n(0), n(1) - 1, n(3) - 1, n(2), n(4));
        else
            slot = std::make_unique<clsRouter>();
        slot->canSplit = split;
    }
    return routers;
}

// The owners of a table as runs, "0-15:0 16-23:1"; unowned numbers left out.
QString runs(const std::array<int, MatrixTables::TableSize> &owners)
{
    QStringList result;
    for (int start = 0; start < MatrixTables::TableSize;) {
        int end = start;
        while (end + 1 < MatrixTables::TableSize && owners[std::size_t(end + 1)] == owners[std::size_t(start)])
            ++end;
        if (owners[std::size_t(start)] >= 0)
            result << QStringLiteral("%1-%2:%3").arg(start).arg(end).arg(owners[std::size_t(start)]);
        start = end + 1;
    }
    return result.join(u' ');
}

} // namespace

class TestMatrixMapping : public QObject
{
    Q_OBJECT

    desktop::ScriptedDialogs m_boxes;

private slots:
    // Mapping never shows a box.
    void cleanup()
    {
        const QStringList shown = m_boxes.lines();
        m_boxes.clear();
        QVERIFY2(shown.isEmpty(), qPrintable(shown.join(u'\n')));
    }

    // Every row starts from tables left over from another set-up: one split
    // router owning all but the first position of both.
    void sizeMatrix_data()
    {
        columns<QString, QString, QString, int, int, bool>(
            {"routers", "inputs", "outputs", "matrixInputs", "matrixOutputs", "split"});
        // clang-format off
        QTest::newRow("shared inputs, separate outputs") << "0:16@0/16@0 1:8@0/8@16" << "0-15:0" << "0-15:0 16-23:1" << 15 << 23 << false;
        QTest::newRow("gap before an offset") << "4:8@32/4@0" << "32-39:4" << "0-3:4" << 39 << 3 << false;
        QTest::newRow("lowest frame address wins an overlap") << "9:4@0/4@0 2:4@2/4@2" << "0-1:9 2-5:2" << "0-1:9 2-5:2" << 5 << 5 << false;
        QTest::newRow("ports beyond the tables left out") << "0:127@120/127@120" << "120-127:0" << "120-127:0" << 127 << 127 << false;
        QTest::newRow("split router without outputs") << "7*" << "" << "" << -1 << -1 << true;
        // clang-format on
    }

    void sizeMatrix()
    {
        QFETCH(QString, routers);
        MatrixTables tables;
        ::sizeMatrix(tables, routersFrom(QStringLiteral("11:127@1/127@1*")));
        ::sizeMatrix(tables, routersFrom(routers));
        QTEST(runs(tables.MatInRouter), "inputs");
        QTEST(runs(tables.MatOutRouter), "outputs");
        QTEST(tables.MatrixInputs, "matrixInputs");
        QTEST(tables.MatrixOutputs, "matrixOutputs");
        QTEST(tables.AnyRouterSplit, "split");
    }

    // A route is made inside the router owning the output; a shared input's
    // name comes from the lowest frame address; an unowned position leaves
    // the router as it was. Positions past the tables have no owner.
    void gridToPhysical()
    {
        const RouterSlots routers = routersFrom(QStringLiteral("0:16@0/16@0 1:8@0/8@16 4:8@32/4@40"));
        MatrixTables tables;
        ::sizeMatrix(tables, routers);
        MatrixView view{tables, routers};
        clsRouter *router = nullptr;
        // The converted number and the router left in `router`.
        const auto toPhy = [&](auto convert, int grid, const MatrixView *on = nullptr) {
            int phy = -2;
            ((on ? *on : view).*convert)(grid, phy, router);
            return std::pair(phy, router);
        };
        const auto number = [&](auto convert, int position, const auto &target) {
            int result = -2;
            (view.*convert)(position, result, target);
            return result;
        };
        // A router's last ports are reachable.
        QCOMPARE(toPhy(&MatrixView::cvMatInToPhy1, 39), std::pair(7, routers[4].get()));
        QCOMPARE(toPhy(&MatrixView::cvMatOutToPhy, 43), std::pair(3, routers[4].get()));
        QCOMPARE(toPhy(&MatrixView::cvMatInToPhy1, 3), std::pair(3, routers[0].get()));
        QCOMPARE(number(&MatrixView::cvMatInToPhy2, 12, routers[1].get()), -1);
        QCOMPARE(number(&MatrixView::cvMatInToPhy2, 2, nullptr), -1);

        view.InOffset = 30;
        view.OutOffset = 32;
        QCOMPARE(toPhy(&MatrixView::cvMatInToPhy1, 0), std::pair(-1, routers[0].get()));
        QCOMPARE(toPhy(&MatrixView::cvMatInToPhy1, 2), std::pair(0, routers[4].get()));
        QCOMPARE(toPhy(&MatrixView::cvMatOutToPhy, 0), std::pair(-1, routers[4].get()));
        QCOMPARE(number(&MatrixView::cvPhyOutToMat, 3, *routers[4]), 11);
        QCOMPARE(number(&MatrixView::cvPhyInToMat, 1, *routers[4]), 3);
        QCOMPARE(number(&MatrixView::cvPhyOutToMat, 3, *routers[0]), -29);

        const RouterSlots wide = routersFrom(QStringLiteral("0:127@120/127@120"));
        ::sizeMatrix(tables, wide);
        const MatrixView scrolled{tables, wide, 112, 112};
        QCOMPARE(toPhy(&MatrixView::cvMatOutToPhy, 15, &scrolled).first, 7);
        QCOMPARE(toPhy(&MatrixView::cvMatOutToPhy, 16, &scrolled).first, -1);
    }
};

QTEST_GUILESS_MAIN(TestMatrixMapping)
#include "tst_matrixmapping.moc"
