#include "editor/shell/InfoWindow.h"

namespace stackmason {

void ShowInfoWindowOver(QWidget&) {}

}  // namespace stackmason
