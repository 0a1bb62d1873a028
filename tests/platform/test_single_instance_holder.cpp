// Takes the single-instance lock named on the command line in a separate
// process. Prints "held" and waits to be killed, or prints "busy" and ends.
#include <unistd.h>

#include <cstdio>

#include "platform/single_instance.h"

int main(int argc, char** argv) {
    if (argc != 2)
        return 2;
    auto lock = hinagiku::platform::SingleInstance::tryAcquire(argv[1]);
    if (!lock) {
        std::puts("busy");
        return 3;
    }
    std::puts(lock->held() ? "held" : "nofile");
    std::fflush(stdout);
    for (;;)
        pause();
}
