#pragma once

#include "export/RatePreference.h"

// "ShowRateMessage" kept in memory, so tests never touch the user's settings.
class MemoryRatePreference : public RatePreference {
public:
    std::optional<QString> value;
    int writes = 0;

    std::optional<QString> ShowRateMessage() const override { return value; }
    void SetShowRateMessage(const QString& newValue) override {
        value = newValue;
        ++writes;
    }
};
