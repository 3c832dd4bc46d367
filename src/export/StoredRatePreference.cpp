#include "export/StoredRatePreference.h"

#include <QSettings>

namespace {

const QString Key = QStringLiteral("ShowRateMessage");
const QString Organisation = QStringLiteral("Sigilon");
const QString Application = QStringLiteral("Sigilon");

} // namespace

std::optional<QString> StoredRatePreference::ShowRateMessage() const {
    const QSettings settings(Organisation, Application);
    const QVariant value = settings.value(Key);
    if (!value.isValid())
        return std::nullopt;
    // Something other than a string (edited by hand) is present but never "Yes": the
    // question is not asked and the value is left alone.
    if (value.typeId() != QMetaType::QString)
        return QString();
    return value.toString();
}

void StoredRatePreference::SetShowRateMessage(const QString& value) {
    QSettings settings(Organisation, Application);
    settings.setValue(Key, value);
    settings.sync();
}
