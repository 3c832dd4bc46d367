#pragma once

#include "export/Prompter.h"
#include "export/RatePreference.h"

#include <QUrl>
#include <functional>

// The request to rate the application after a fully successful export: never after the very
// first one, at most once per application run, and never again once the user has rated or
// declined. One instance lives as long as the window, which is what "once per run" means.
class RatingCheck {
public:
    using UrlOpener = std::function<void(const QUrl&)>;

    RatingCheck(Prompter& prompter, RatePreference& preference, UrlOpener openUrl);

    // Runs after the success alert has been dismissed.
    void Run();

    bool RateMessageShown() const { return m_rateMessageShown; }

    // The page that "Yes, Rate Sigilon" opens.
    static QUrl StorePage();

private:
    Prompter& m_prompter;
    RatePreference& m_preference;
    UrlOpener m_openUrl;
    bool m_rateMessageShown = false;
};
