// ombrelix-headless: the game on an off-screen surface, steered by a script.
#include "app/HeadlessRunner.h"

int main(int argc, char** argv) {
    return HeadlessRunner::main(argc, argv);
}
