#pragma once

class QWidget;

// Help > About Sigilon: the version, the licence, the libraries the program is built on, and
// the sets of the symbol library with their licences (their texts in the details).
// Opens without blocking, over the window.
namespace AboutBox {

void Open(QWidget* window);

} // namespace AboutBox
