// The reference of bench/start-up: a program that links Qt 6 Core, makes its
// application object and ends. What start-up costs before any work of ours.

#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    return 0;
}
