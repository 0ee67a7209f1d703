#include "DbTool.h"

#include <QCoreApplication>
#include <iostream>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    return kb::tools::run(QCoreApplication::arguments().mid(1), std::cout, std::cerr);
}
