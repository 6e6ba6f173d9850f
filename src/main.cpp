#include "frame/arranque.h"

int main(int argc, char **argv) { return vz::arranque(argc, argv); }
END_OF_MAIN()
