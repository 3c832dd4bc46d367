#pragma once

#include "export/RatePreference.h"

// "ShowRateMessage" in the application's settings (organisation and application
// "Sigilon").
class StoredRatePreference : public RatePreference {
public:
    std::optional<QString> ShowRateMessage() const override;
    void SetShowRateMessage(const QString& value) override;
};
