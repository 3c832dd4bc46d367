#pragma once

#include <QUrl>

// The help pages of the Help menu ship with the application as HTML files, so they open
// without a network connection.
namespace HelpPages {

enum Page { Contents, MacAppIcons, IOSAppIcon, Logo };

// The page's file: in the "help" folder beside the executable, or in the installed share
// folder.
QUrl Url(Page page);

} // namespace HelpPages
