#include "Startup.h"

int main(int, char** argv) {
    return kb::app::runProgram(argv[0]);
}
