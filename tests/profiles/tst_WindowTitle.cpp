#include "profiles/WindowTitle.h"

#include <QtTest>

using namespace Qt::StringLiterals;

class tst_WindowTitle : public QObject {
    Q_OBJECT

private slots:
    void marker_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("marked");
        QTest::newRow("untitled") << WindowTitle::Untitled() << false;
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

    void titles_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("title");
        QTest::newRow("no profile") << QString() << u"Sigilon"_s;
        QTest::newRow("plain") << "/home/me/logo.sgp" << u"Sigilon - logo"_s;
        QTest::newRow("dots in the name") << "/tmp/app.v2.sgp" << u"Sigilon - app.v2"_s;
        QTest::newRow("star in the name") << "/tmp/a*b.sgp" << u"Sigilon - a*b"_s;
        QTest::newRow("exactly four characters") << "/tmp/.sgp" << u"Sigilon - "_s;
        QTest::newRow("shorter than four") << "/tmp/ab" << u"Sigilon - "_s;
    }
    void titles() {
        QFETCH(QString, path);
        QFETCH(QString, title);
        QCOMPARE(path.isNull() ? WindowTitle::Untitled() : WindowTitle::ForProfile(path), title);
    }
};

QTEST_APPLESS_MAIN(tst_WindowTitle)
#include "tst_WindowTitle.moc"
