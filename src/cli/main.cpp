#include "cli/CliProgram.h"

int main(int argc, char** argv) {
    return quorvel::runCli(std::vector<std::string>(argv + 1, argv + argc));
}
