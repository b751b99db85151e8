#include <QFile>
#include <QImage>
#include <QTest>

namespace vxa::test {

class ArtworkTest : public QObject {
    Q_OBJECT

    static QImage load(const QString& path) {
        QImage image(path);
        if (image.isNull())
            qFatal("%s does not load", qPrintable(path));
        return image.convertToFormat(QImage::Format_ARGB32);
    }
    static bool isGrey(QRgb c) { return qRed(c) == qGreen(c) && qGreen(c) == qBlue(c); }

  private slots:
    void stopButtonHasANormalAndAGreyGlyph() {
        const QImage stop = load(QStringLiteral(":/vxa/stop.png"));
        QCOMPARE(stop.size(), QSize(32, 16));
        // The button takes the bottom-left pixel's colour as transparent.
        QCOMPARE(qAlpha(stop.pixel(0, 15)), 0);
        bool red = false, black = false, colourInGrey = false, drawnInGrey = false;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 32; ++x) {
                const QRgb c = stop.pixel(x, y);
                if (qAlpha(c) < 255)
                    continue;
                if (x < 16) {
                    red |= qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60;
                    black |= c == qRgb(0, 0, 0);
                } else {
                    drawnInGrey = true;
                    colourInGrey |= !isGrey(c);
                }
            }
        }
        QVERIFY(red);
        QVERIFY(black);
        QVERIFY(drawnInGrey);
        QVERIFY(!colourInGrey);
    }

    void thirteenDistinctBrowserPictures() {
        QList<QImage> pictures;
        for (int i = 0; i <= 12; ++i) {
            const QImage p = load(QStringLiteral(":/vxa/pictures/%1.png").arg(i));
            QCOMPARE(p.size(), QSize(17, 17));
            QVERIFY(p.hasAlphaChannel());
            QCOMPARE(qAlpha(p.pixel(0, 0)), 0);
            QVERIFY2(!pictures.contains(p), qPrintable(QStringLiteral("picture %1").arg(i)));
            pictures << p;
        }
        // There are no more than the thirteen the browser uses.
        QVERIFY(!QFile::exists(QStringLiteral(":/vxa/pictures/13.png")));
    }

    void drivePictures() {
        for (const char* kind :
             {"root", "home", "fixed", "removable", "network", "optical", "ram"}) {
            const QImage p = load(QStringLiteral(":/vxa/drives/%1.png").arg(QLatin1String(kind)));
            QCOMPARE(p.size(), QSize(16, 16));
            QVERIFY(p.hasAlphaChannel());
        }
    }

    void programIconInEverySize() {
        QFile svg(QStringLiteral(":/vxa/icons/vxa-manager.svg"));
        QVERIFY(svg.open(QIODevice::ReadOnly));
        QVERIFY(svg.readAll().contains("<svg"));
        for (int size : {16, 32, 48, 64, 128, 256}) {
            const QImage p =
                load(QStringLiteral(":/vxa/icons/hicolor/%1/vxa-manager.png").arg(size));
            QCOMPARE(p.size(), QSize(size, size));
            QCOMPARE(qAlpha(p.pixel(0, 0)), 0);
        }
    }
};

}  // namespace vxa::test

QTEST_MAIN(vxa::test::ArtworkTest)
#include "ArtworkTest.moc"
