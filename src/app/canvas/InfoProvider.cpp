#include "app/canvas/InfoProvider.h"

#include "export/Prompter.h"

InfoProvider& InfoProvider::Shared() {
    static InfoProvider instance;
    return instance;
}

bool InfoProvider::MayReplaceIcon(Prompter& prompter) const {
    constexpr int kYes = 0;
    return !isIconAdded ||
           prompter.Ask(QStringLiteral("Are you sure you want to replace the current image?"),
                        {QStringLiteral("Yes"), QStringLiteral("No")}) == kYes;
}
