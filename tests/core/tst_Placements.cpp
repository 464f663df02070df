#include "core/Placements.h"

#include <QTest>

class TestPlacements : public QObject
{
    Q_OBJECT

private slots:
    // What the user chooses is what a desktop without the two values makes of the values written.
    void itemsMeanTheirPlacement_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("text");
        QTest::addColumn<Placement>("placement");
        QTest::newRow("0") << 0 << "Centrerad" << Placement::Centred;
        QTest::newRow("1") << 1 << "Sida vid Sida" << Placement::Tiled;
        QTest::newRow("2") << 2 << "Anpassad" << Placement::Stretched;
    }
    void itemsMeanTheirPlacement()
    {
        QFETCH(int, index);
        QFETCH(QString, text);
        QFETCH(Placement, placement);
        const auto row = Placements::byIndex(index);
        QVERIFY(row);
        QCOMPARE(QString::fromUtf8(row->text), text);
        QCOMPARE(Placements::fromValues(QLatin1String(row->wallpaperStyle), QLatin1String(row->tileWallpaper)),
                 placement);
    }

    void noPlacementOutsideTheItems()
    {
        QVERIFY(!Placements::byIndex(-1));
        QVERIFY(!Placements::byIndex(3));
        // Tiling wins over stretching; values the program never writes centre.
        QCOMPARE(Placements::fromValues(QStringLiteral("2"), QStringLiteral("1")), Placement::Tiled);
        QCOMPARE(Placements::fromValues(QString(), QStringLiteral("0")), Placement::Centred);
    }
};

QTEST_APPLESS_MAIN(TestPlacements)
#include "tst_Placements.moc"
