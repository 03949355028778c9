// The program entry: --help and --version answer on the console; with no arguments the game starts.
#include "main/Kwibbel.h"

int main(int argc, char **argv) { return Kwibbel::Main(argc, argv); }
