// "ShowRateMessage" in the application's settings, in Qt's test mode so that the user's own
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
        QVERIFY(QSettings("Sigilon", "Sigilon").fileName().contains(QStringLiteral(".qttest")));
    }

    void absentUntilStoredThenWrittenThrough() {
        QSettings("Sigilon", "Sigilon").clear();
        StoredRatePreference preference;
        QVERIFY(!preference.ShowRateMessage().has_value());
        preference.SetShowRateMessage(QStringLiteral("Yes"));
        QCOMPARE(preference.ShowRateMessage(), std::optional<QString>("Yes"));
        // A fresh reader of the file sees it at once.
        QCOMPARE(QSettings("Sigilon", "Sigilon").value("ShowRateMessage"), QVariant("Yes"));
        preference.SetShowRateMessage(QStringLiteral("No"));
        QCOMPARE(StoredRatePreference().ShowRateMessage(), std::optional<QString>("No"));
    }

    void somethingOtherThanAStringIsNeverYes() {
        QSettings("Sigilon", "Sigilon").setValue("ShowRateMessage", QStringList{"Yes", "No"});
        const std::optional<QString> value = StoredRatePreference().ShowRateMessage();
        QVERIFY(value.has_value() && *value != QStringLiteral("Yes"));
    }
};

QTEST_GUILESS_MAIN(StoredRatePreferenceTest)
#include "tst_StoredRatePreference.moc"
