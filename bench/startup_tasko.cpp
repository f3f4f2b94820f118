// Start-up of the program up to its first window on screen, then exit.
#include "app/startup.h"

int main(int argc, char** argv) { return app::RunProgram(argc, argv, {.quitWhenShown = true}); }
