#pragma once

#include <functional>

// Runs check with the file permissions of an ordinary user. The test suite may run as root, for
// whom read-only files and folders are writable; then check runs in a child process that has
// dropped to the user "nobody", so it must only touch files that user can reach.
enum class TUnprivilegedResult { Passed, Failed, Unavailable };
TUnprivilegedResult runUnprivileged(const std::function<bool()> &check);
