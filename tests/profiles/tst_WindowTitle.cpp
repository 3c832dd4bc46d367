#include "profiles/WindowTitle.h"

#include <QtTest>

class tst_WindowTitle : public QObject {
    Q_OBJECT

private slots:
    void marker_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("marked");
        QTest::newRow("untitled") << "Sigilon" << false;
        QTest::newRow("edited") << "Sigilon*" << true;
        QTest::newRow("profile edited") << "Sigilon - logo*" << true;
        QTest::newRow("star inside") << "Sigilon - a*b" << false;
        QTest::newRow("star then blank") << "Sigilon - a* " << false;
        QTest::newRow("only a star") << "*" << true;
        QTest::newRow("empty") << "" << false;
        // A combining mark makes the star part of another character.
        QTest::newRow("star with accent") << QStringLiteral("Sigilon - a*\u0301") << false;
        QTest::newRow("emoji then star") << QStringLiteral("Sigilon - \U0001F600*") << true;
    }
    void marker() {
        QFETCH(QString, title);
        QFETCH(bool, marked);
        QCOMPARE(WindowTitle::HasMarker(title), marked);
        const QString withMarker = WindowTitle::WithMarker(title);
        QVERIFY(WindowTitle::HasMarker(withMarker));
        QCOMPARE(withMarker, marked ? title : title + "*");
        QCOMPARE(WindowTitle::WithMarker(withMarker), withMarker);
    }

    void profileNames_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("title");
        QTest::newRow("plain") << "/home/me/logo.sgp"
                               << "Sigilon - logo";
        QTest::newRow("dots in the name") << "/tmp/app.v2.sgp"
                                          << "Sigilon - app.v2";
        QTest::newRow("star in the name") << "/tmp/a*b.sgp"
                                          << "Sigilon - a*b";
        QTest::newRow("exactly four characters") << "/tmp/.sgp"
                                                 << "Sigilon - ";
        QTest::newRow("shorter than four") << "/tmp/ab"
                                           << "Sigilon - ";
    }
    void profileNames() {
        QFETCH(QString, path);
        QFETCH(QString, title);
        QCOMPARE(WindowTitle::ForProfile(path), title);
    }

    void untitled() {
        QCOMPARE(WindowTitle::Untitled(), QStringLiteral("Sigilon"));
        QVERIFY(!WindowTitle::HasMarker(WindowTitle::Untitled()));
    }
};

QTEST_APPLESS_MAIN(tst_WindowTitle)
#include "tst_WindowTitle.moc"
