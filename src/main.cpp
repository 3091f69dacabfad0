// Entry point of the game: everything happens in the shell.
#include "shell/app.h"

int main(int argc, char** argv) { return tessaly::shell::runGame(argc, argv); }
