// The vostrel_dat executable: hands the process's arguments and console to tool_main.
#include <iostream>

#include "main.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
  // Lines end in "\n" alone on every platform: nothing the tool prints is translated.
  ::_setmode(::_fileno(stdout), _O_BINARY);
  ::_setmode(::_fileno(stderr), _O_BINARY);
#endif
  return tool_main(argc, argv, std::cout, std::cerr);
}
