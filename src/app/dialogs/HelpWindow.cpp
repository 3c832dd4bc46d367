#include "app/dialogs/HelpWindow.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

HelpWindow::HelpWindow(const QUrl& contents, QWidget* parent)
    : QWidget(parent, Qt::Window), m_browser(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(tr("Sigilon Help"));
    m_browser->setOpenExternalLinks(true);
    auto* back = new QPushButton(tr("Back"), this);
    auto* forward = new QPushButton(tr("Forward"), this);
    auto* home = new QPushButton(tr("Contents"), this);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, m_browser, &QTextBrowser::forward);
    connect(home, &QPushButton::clicked, this, [this, contents] { Open(contents); });
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this] {
        setWindowTitle(m_browser->documentTitle().isEmpty() ? tr("Sigilon Help")
                                                            : m_browser->documentTitle());
    });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back);
    buttons->addWidget(forward);
    buttons->addWidget(home);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_browser);
    resize(720, 640);
}

void HelpWindow::Open(const QUrl& page) {
    m_browser->setSource(page);
    show();
    raise();
    activateWindow();
}

QUrl HelpWindow::page() const {
    return m_browser->source();
}
