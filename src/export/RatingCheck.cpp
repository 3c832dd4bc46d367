#include "export/RatingCheck.h"

#include <utility>

namespace {

const QString Yes = QStringLiteral("Yes");
const QString No = QStringLiteral("No");

enum RateAnswer { Rate = 0, RemindLater = 1, NoThanks = 2 };

} // namespace

RatingCheck::RatingCheck(Prompter& prompter, RatePreference& preference, UrlOpener openUrl)
    : m_prompter(prompter), m_preference(preference), m_openUrl(std::move(openUrl)) {}

QUrl RatingCheck::StorePage() {
    return QUrl(QStringLiteral("https://sigilon.app/rate"));
}

void RatingCheck::Run() {
    const std::optional<QString> stored = m_preference.ShowRateMessage();
    if (!stored) {
        m_preference.SetShowRateMessage(Yes);
        return;
    }
    if (*stored != Yes || m_rateMessageShown)
        return;

    const int answer = m_prompter.Ask(
        QStringLiteral("If you enjoy using Sigilon, would you mind taking a moment to rate it? "
                       "Thanks for your support!"),
        {QStringLiteral("Yes, Rate Sigilon"), QStringLiteral("Remind me later"),
         QStringLiteral("No, Thanks")});
    if (answer == Rate) {
        // The user has chosen to rate; whether the page opened or not, ask no more.
        if (m_openUrl)
            m_openUrl(StorePage());
        m_preference.SetShowRateMessage(No);
    } else if (answer == NoThanks) {
        m_preference.SetShowRateMessage(No);
    }
    m_rateMessageShown = true;
}
