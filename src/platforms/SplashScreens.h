#pragma once

#include "platforms/PlannedFile.h"

#include <QList>

// Launch screens: one square picture to crop from for every screen, light and dark, and the
// icon Android 12 and later put in the middle of their own splash screen.
namespace SplashScreens {

QList<PlannedFile> Plan();

} // namespace SplashScreens
