// The program entry: takes no arguments and reads no environment variables of its own.
#include "main/Kwibbel.h"

int main() { return Kwibbel::Run(); }
