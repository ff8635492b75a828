#include <QApplication>

#include "editor/shell/MainWindow.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    stackmason::MainWindow window;
    window.Start();
    window.show();
    application.exec();
    return 0;
}
