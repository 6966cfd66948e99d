#include "app/main_window.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kalvero 4"));
    kalvero::TForm1 form;
    // Borderless and covering the whole monitor; set explicitly, since without a window
    // manager a maximise request keeps the old size.
    if (const QScreen* screen = form.screen())
        form.setGeometry(screen->geometry());
    form.show();
    form.activateWindow();
    return app.exec();
}
