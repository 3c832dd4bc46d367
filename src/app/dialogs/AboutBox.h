#pragma once

class QWidget;

// Help > About Sigilon: the version, the licence and the libraries the program is built on.
// Opens without blocking, over the window.
namespace AboutBox {

void Open(QWidget* window);

} // namespace AboutBox
