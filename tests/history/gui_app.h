#pragma once

#include <QApplication>

namespace kalvero::test {

// Painting text needs an application object; the GoogleTest binary creates one on first use.
inline void EnsureGuiApp() {
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "history_tests";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

} // namespace kalvero::test
