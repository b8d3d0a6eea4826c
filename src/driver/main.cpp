// Entry point of zelgrin; the program itself is runZelgrin, so that tests can run it whole.
#include "driver/run_zelgrin.h"

int main(int argc, char* argv[]) { return runZelgrin(argc, argv); }
