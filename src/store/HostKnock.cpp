#include "HostKnock.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

// The pipe through which the knock's thread tells its outcome: one byte, 1 when the host answered. The
// thread keeps it as long as it runs, also when the knock was forgotten meanwhile.
struct HostKnock::Outcome {
    int read = -1;
    int write = -1;
    ~Outcome() {
        if (read >= 0)
            ::close(read);
        if (write >= 0)
            ::close(write);
    }
};

namespace {

// Whether a TCP connection to one of host's addresses is taken within timeoutMs.
bool answers(const std::string& host, const std::string& port, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* addresses = nullptr;
    if (::getaddrinfo(host.c_str(), port.c_str(), &hints, &addresses) != 0)
        return false;
    bool answered = false;
    for (const addrinfo* address = addresses; address && !answered; address = address->ai_next) {
        const int socket = ::socket(address->ai_family, address->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                                    address->ai_protocol);
        if (socket < 0)
            continue;
        if (::connect(socket, address->ai_addr, address->ai_addrlen) == 0) {
            answered = true;
        } else if (errno == EINPROGRESS) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd writable{socket, POLLOUT, 0};
            int error = 0;
            socklen_t size = sizeof(error);
            answered = left.count() > 0 && ::poll(&writable, 1, int(left.count())) == 1 &&
                       ::getsockopt(socket, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0;
        }
        ::close(socket);
    }
    ::freeaddrinfo(addresses);
    return answered;
}

} // namespace

HostKnock::HostKnock(QObject* parent) : QObject(parent) {}

HostKnock::~HostKnock() {
    abort();
}

void HostKnock::knock(const QString& host, quint16 port, int timeoutMs) {
    if (isKnocking())
        return;
    auto outcome = std::make_shared<Outcome>();
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        emit failed();
        return;
    }
    outcome->read = ends[0];
    outcome->write = ends[1];
    m_outcome = outcome;
    m_heard = std::make_unique<QSocketNotifier>(outcome->read, QSocketNotifier::Read);
    connect(m_heard.get(), &QSocketNotifier::activated, this, &HostKnock::heard);
    std::thread([outcome, name = host.toStdString(), service = std::to_string(port), timeoutMs] {
        const char said = answers(name, service, timeoutMs) ? 1 : 0;
        // A knock forgotten meanwhile leaves the byte unread.
        [[maybe_unused]] const ssize_t written = ::write(outcome->write, &said, 1);
    }).detach();
}

void HostKnock::abort() {
    m_heard.reset();
    m_outcome.reset();
}

void HostKnock::heard() {
    char said = 0;
    const bool read = ::read(m_outcome->read, &said, 1) == 1;
    abort();
    if (read && said == 1)
        emit answered();
    else
        emit failed();
}
