#include "icone_notification.h"
#include "outils_test.h"
#include "titre_application.h"

#include <QSystemTrayIcon>
#include <QtTest>
#include <memory>

class test_icone_notification : public QObject {
    Q_OBJECT

    std::unique_ptr<banc_principal> banc_;

    TForm1& f() { return *banc_->fenetre; }

private slots:
    void initTestCase() { prepare_tests(); }
    void init() { banc_ = std::make_unique<banc_principal>(); }
    void cleanup() { banc_.reset(); }

    void l_infobulle_suit_le_titre_pendant_un_appel() {
        const icone_notification icone(&f());
        QCOMPARE(icone.infobulle(), QStringLiteral("Kalvo"));
        f().start_stopClick();
        banc_->horloge.avance_s(65);
        f().horlogeTimer();
        QCOMPARE(icone.infobulle(), QStringLiteral("Tarif: 0,20 FS - 00:01:05"));
        banc_->horloge.avance_s(100);
        f().horlogeTimer();
        QCOMPARE(icone.infobulle(), QStringLiteral("Tarif: 0,30 FS - 00:02:45"));
        f().start_stopClick();
        QCOMPARE(icone.infobulle(), QStringLiteral("Kalvo"));
    }

    void une_icone_creee_pendant_un_appel_montre_l_appel() {
        f().start_stopClick();
        banc_->horloge.avance_s(3);
        f().horlogeTimer();
        const icone_notification icone(&f());
        QCOMPARE(icone.infobulle(), titre_application::texte());
        QVERIFY(icone.infobulle().startsWith(QLatin1String("Tarif: ")));
    }

    void rien_n_apparait_sans_zone_de_notification() {
        if (QSystemTrayIcon::isSystemTrayAvailable()) {
            QSKIP("this desktop has a system tray");
        }
        const icone_notification icone(&f());
        QVERIFY(!icone.affichee());
    }

    void un_clic_ramene_la_fenetre_reduite() {
        icone_notification icone(&f());
        f().showMinimized();
        QTRY_VERIFY(f().isMinimized());
        icone.montre_fenetre();
        QVERIFY(!f().isMinimized());
        QVERIFY(f().isVisible());
    }
};

QTEST_MAIN(test_icone_notification)
#include "test_icone_notification.moc"
