// What the program starts for, decided from its arguments before any window exists.

#include "cli/StartRequest.h"
#include "support/TestImages.h"

#include <QtTest>

Q_DECLARE_METATYPE(StartRequest::Mode)

class StartRequestTest : public QObject {
    Q_OBJECT

    TestImages::ScratchFolder m_dir;

private slots:
    void modeAndProfile_data() {
        using Mode = StartRequest::Mode;
        QVERIFY(m_dir.isValid());
        const QString existing = m_dir.Write("design", "not read here");
        const QString missing = m_dir.filePath("missing.sgp");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<QString>("said"); // the editor's profile, or part of the error
        QTest::newRow("nothing") << QStringList{} << Mode::Editor << "";
        QTest::newRow("profile") << QStringList{missing} << Mode::Editor << missing;
        QTest::newRow("upper-case suffix") << QStringList{"LOGO.SGP"} << Mode::Editor << "LOGO.SGP";
        QTest::newRow("existing file without suffix")
            << QStringList{existing} << Mode::Editor << existing;
        QTest::newRow("command") << QStringList{"export", "--output-dir", "x"} << Mode::CommandLine
                                 << "";
        QTest::newRow("help") << QStringList{"-h"} << Mode::CommandLine << "";
        QTest::newRow("version") << QStringList{"--version"} << Mode::CommandLine << "";
        QTest::newRow("mistyped command")
            << QStringList{"exprot"} << Mode::UsageError << "unknown command: exprot";
        QTest::newRow("two profiles")
            << QStringList{"a.sgp", "b.sgp"} << Mode::UsageError << "one profile";
        QTest::newRow("unknown option")
            << QStringList{"--fullscreen"} << Mode::UsageError << "--fullscreen";
        QTest::newRow("option after the profile")
            << QStringList{"a.sgp", "--quiet"} << Mode::UsageError << "--quiet";
        QTest::newRow("command option without command")
            << QStringList{"--profile", "a.sgp"} << Mode::UsageError << "--profile";
        QTest::newRow("command after a profile")
            << QStringList{"a.sgp", "render"} << Mode::UsageError << "one profile";
    }
    void modeAndProfile() {
        QFETCH(QStringList, arguments);
        QFETCH(StartRequest::Mode, mode);
        QFETCH(QString, said);
        const StartRequest request = StartRequest::FromArguments(arguments);
        QCOMPARE(request.mode, mode);
        const bool error = mode == StartRequest::Mode::UsageError;
        QCOMPARE(request.profilePath, error ? QString() : said);
        QVERIFY2(error ? request.error.contains(said) : request.error.isEmpty(),
                 qPrintable(request.error));
    }
};

QTEST_GUILESS_MAIN(StartRequestTest)
#include "tst_StartRequest.moc"
