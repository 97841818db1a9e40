// Preloaded into the program by `stress-engines.sh --slow-close SECONDS`: every close of a
// pseudo-terminal's slave (the stress runs' serial ports) first waits that long, as the
// kernel's close of a serial line waits for output that the driver or the adapter still
// holds while the handshake holds the line back (up to the line's closing wait, 30 s on
// most drivers). Other programs that the run starts with it in their environment (the
// harness's pseudo-terminal holder among them) close as always. Not part of the program.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <time.h>

// Unix 98 pseudo-terminal slaves have the majors 136 to 143.
static int isPtySlave(int fd) {
    struct stat st;
    return fstat(fd, &st) == 0 && S_ISCHR(st.st_mode) && major(st.st_rdev) >= 136 &&
           major(st.st_rdev) < 144;
}

int close(int fd) {
    static int (*realClose)(int);
    if (!realClose)
        realClose = (int (*)(int))dlsym(RTLD_NEXT, "close");
    if (strcmp(program_invocation_short_name, "kestrelon") == 0 && isPtySlave(fd)) {
        const char* seconds = getenv("KST_SLOW_CLOSE_SECONDS");
        struct timespec wait = {seconds ? atoi(seconds) : 20, 0};
        while (nanosleep(&wait, &wait) != 0) {
        }
    }
    return realClose(fd);
}
