// "ShowRateMessage" in the application's settings. Runs in Qt's test mode, so the user's own
// settings are never touched.

#include "export/StoredRatePreference.h"

#include <QSettings>
#include <QStandardPaths>
#include <QtTest>

class StoredRatePreferenceTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(Settings().fileName().contains(QStringLiteral(".qttest")));
    }

    void init() {
        QSettings settings = Settings();
        settings.clear();
        settings.sync();
    }

    void absentUntilStored() {
        StoredRatePreference preference;
        QVERIFY(!preference.ShowRateMessage().has_value());
        preference.SetShowRateMessage(QStringLiteral("Yes"));
        QCOMPARE(preference.ShowRateMessage(), std::optional<QString>(QStringLiteral("Yes")));
        // Written through at once: a fresh reader of the file sees it.
        QCOMPARE(Settings().value(QStringLiteral("ShowRateMessage")).toString(),
                 QStringLiteral("Yes"));
        preference.SetShowRateMessage(QStringLiteral("No"));
        QCOMPARE(StoredRatePreference().ShowRateMessage(),
                 std::optional<QString>(QStringLiteral("No")));
    }

    void somethingOtherThanAStringIsNeverYes() {
        {
            QSettings settings = Settings();
            settings.setValue(QStringLiteral("ShowRateMessage"),
                              QStringList{QStringLiteral("Yes"), QStringLiteral("No")});
        }
        const std::optional<QString> value = StoredRatePreference().ShowRateMessage();
        QVERIFY(value.has_value());
        QVERIFY(*value != QStringLiteral("Yes"));
    }

private:
    static QSettings Settings() {
        return QSettings(QStringLiteral("Sigilon"), QStringLiteral("Sigilon"));
    }
};

QTEST_GUILESS_MAIN(StoredRatePreferenceTest)
#include "tst_StoredRatePreference.moc"
