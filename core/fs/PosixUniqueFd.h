#pragma once
// Owns one POSIX file descriptor and closes it exactly once.
#include <unistd.h>

#include <utility>

namespace qlfs {

class CPosixUniqueFd {
public:
    CPosixUniqueFd() = default;
    explicit CPosixUniqueFd(int fd) : m_fd(fd) {}
    CPosixUniqueFd(CPosixUniqueFd&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    CPosixUniqueFd& operator=(CPosixUniqueFd&& other) noexcept
    {
        if (this != &other) {
            Close();
            m_fd = std::exchange(other.m_fd, -1);
        }
        return *this;
    }
    CPosixUniqueFd(const CPosixUniqueFd&) = delete;
    CPosixUniqueFd& operator=(const CPosixUniqueFd&) = delete;
    ~CPosixUniqueFd() { Close(); }

    int Get() const { return m_fd; }
    bool IsValid() const { return m_fd >= 0; }

    // The result of close(2): a delayed write error shows up here.
    bool Close()
    {
        if (m_fd < 0)
            return true;
        // Linux releases the descriptor even when close reports an error, so
        // it must not be retried.
        return ::close(std::exchange(m_fd, -1)) == 0;
    }

private:
    int m_fd = -1;
};

}  // namespace qlfs
