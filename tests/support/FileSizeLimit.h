#pragma once

#include <csignal>
#include <sys/resource.h>

// Limits the size of files this process writes while the object lives: a write past the limit
// fails with EFBIG (the signal it would raise is ignored), as a full disk fails a write.
class TFileSizeLimit
{
public:
    explicit TFileSizeLimit(rlim_t bytes);
    ~TFileSizeLimit();
    TFileSizeLimit(const TFileSizeLimit &) = delete;
    TFileSizeLimit &operator=(const TFileSizeLimit &) = delete;

    bool isActive() const { return m_active; }

private:
    rlimit m_previous{};
    void (*m_previousHandler)(int) = SIG_DFL;
    bool m_active = false;
};
