#pragma once

#include <QString>
#include <optional>

// The one persisted preference outside profiles, "ShowRateMessage": absent until the first
// fully successful export, then "Yes", then "No" once the user has rated or declined. The
// application keeps it in QSettings; tests keep it in memory.
class RatePreference {
public:
    virtual ~RatePreference() = default;

    // The stored value, nullopt when there is none.
    virtual std::optional<QString> ShowRateMessage() const = 0;

    // Stores the value and makes it last beyond this run at once.
    virtual void SetShowRateMessage(const QString& value) = 0;
};
