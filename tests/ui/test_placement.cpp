#include "outils_test.h"
#include "placement.h"

#include <QScreen>
#include <QWidget>
#include <QtTest>

// A window placed for a 96-dpi screen must still lie on a scaled or smaller one.
class test_placement : public QObject {
    Q_OBJECT

    static QRect libre() { return QGuiApplication::primaryScreen()->availableGeometry(); }

private slots:
    void initTestCase() { prepare_tests(); }

    void garde_sur_ecran_data() {
        QTest::addColumn<QRect>("avant");
        QTest::addColumn<QPoint>("apres");
        const QRect e = libre();
        QTest::newRow("dedans, inchangee")
            << QRect(e.left() + 10, e.top() + 20, 222, 160) << QPoint(e.left() + 10, e.top() + 20);
        QTest::newRow("depasse a droite et en bas") << QRect(e.right() - 100, e.bottom() - 50, 222, 160)
                                                    << QPoint(e.right() + 1 - 222, e.bottom() + 1 - 160);
        QTest::newRow("depasse a gauche et en haut")
            << QRect(e.left() - 30, e.top() - 5, 222, 160) << QPoint(e.left(), e.top());
        QTest::newRow("plus grande que l'ecran: son coin en haut a gauche")
            << QRect(e.left() + 40, e.top() + 40, e.width() + 100, e.height() + 100) << e.topLeft();
    }

    void garde_sur_ecran() {
        QFETCH(QRect, avant);
        QFETCH(QPoint, apres);
        QWidget fenetre;
        fenetre.setGeometry(avant);
        ::garde_sur_ecran(&fenetre);
        QCOMPARE(fenetre.pos(), apres);
        QCOMPARE(fenetre.size(), avant.size());
    }
};

QTEST_MAIN(test_placement)
#include "test_placement.moc"
