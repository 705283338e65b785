#include "Unprivileged.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

TUnprivilegedResult runUnprivileged(const std::function<bool()> &check)
{
    if (geteuid() != 0)
        return check() ? TUnprivilegedResult::Passed : TUnprivilegedResult::Failed;
    constexpr int Unavailable = 2;
    const pid_t child = fork();
    if (child < 0)
        return TUnprivilegedResult::Unavailable;
    if (child == 0) {
        const uid_t nobody = 65534;
        if (setgroups(0, nullptr) != 0 || setgid(nobody) != 0 || setuid(nobody) != 0)
            _exit(Unavailable);
        _exit(check() ? 0 : 1);
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return TUnprivilegedResult::Failed;
    switch (WEXITSTATUS(status)) {
    case 0:
        return TUnprivilegedResult::Passed;
    case Unavailable:
        return TUnprivilegedResult::Unavailable;
    default:
        return TUnprivilegedResult::Failed;
    }
}
