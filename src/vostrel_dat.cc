// The vostrel_dat executable: hands the process's arguments and console to tool_main.
#include <iostream>

#include "main.h"

int main(int argc, char** argv) { return tool_main(argc, argv, std::cout, std::cerr); }
