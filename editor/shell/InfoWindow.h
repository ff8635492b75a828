#pragma once

#include <QString>
#include <QWidget>

namespace stackmason {

// The modal help window, centred over parent. While it is open every input event meant for
// another window is dropped, and a close of any window closes the help instead. Returns when
// it has been closed.
void ShowInfoWindowOver(QWidget& parent, const QString& title);

// The built-in help document, Qt rich text.
QString InfoHelpDocument();

}  // namespace stackmason
