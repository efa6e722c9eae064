// Shared by the fake linux-gpib and VISA libraries of the tests: the connection through which
// they reach the simulated analyzer, the simulated adapter server named by the environment
// variable YMT_FAKE_ADAPTER ("127.0.0.1:PORT"). Plain POSIX, so the fakes need nothing else.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>

namespace fake {

enum class ReadResult { Ok, Timeout, Lost };

class AdapterLink {
public:
    bool connected() const { return fd >= 0; }

    bool connectToServer() {
        if (fd >= 0)
            return true;
        const char* where = std::getenv("YMT_FAKE_ADAPTER");
        if (!where)
            return false;
        const std::string text(where);
        const auto colon = text.rfind(':');
        if (colon == std::string::npos)
            return false;
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(std::atoi(text.c_str() + colon + 1)));
        if (inet_pton(AF_INET, text.substr(0, colon).c_str(), &address.sin_addr) != 1)
            return false;
        fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0 || connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            disconnect();
            return false;
        }
        currentAddress = -1;
        return sendRaw("++mode 1\n++auto 0\n++eoi 1\n++eos 3\n++read_tmo_ms 3000\n");
    }

    void disconnect() {
        if (fd >= 0)
            close(fd);
        fd = -1;
        input.clear();
        reading = false;
    }

    bool selectAddress(int pad) {
        if (pad == currentAddress)
            return true;
        currentAddress = pad;
        return sendRaw("++addr " + std::to_string(pad) + "\n");
    }

    bool sendData(const char* data, long count) {
        std::string line;
        for (long i = 0; i < count; ++i) {
            const char byte = data[i];
            if (byte == '\r' || byte == '\n' || byte == 27 || byte == '+')
                line += char(27);
            line += byte;
        }
        line += '\n';
        input.clear();
        reading = false;
        return sendRaw(line);
    }

    bool sendRaw(const std::string& text) {
        std::size_t sent = 0;
        while (sent < text.size()) {
            const ssize_t n = send(fd, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
            if (n <= 0)
                return false;
            sent += std::size_t(n);
        }
        return true;
    }

    // Up to count bytes of the current reply; *end when its LF was among them. timeoutMs < 0
    // waits without limit.
    ReadResult readReply(char* buffer, long count, long timeoutMs, long* got, bool* end) {
        *got = 0;
        *end = false;
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            const auto lineEnd = input.find('\n');
            const std::size_t available = lineEnd == std::string::npos ? input.size() : lineEnd + 1;
            if (available >= std::size_t(count) || lineEnd != std::string::npos) {
                const std::size_t taken = std::min(available, std::size_t(count));
                std::memcpy(buffer, input.data(), taken);
                input.erase(0, taken);
                *got = long(taken);
                *end = lineEnd != std::string::npos && taken == available;
                if (*end)
                    reading = false;
                return ReadResult::Ok;
            }
            if (!reading) {
                if (!sendRaw("++read eoi\n"))
                    return ReadResult::Lost;
                reading = true;
            }
            const ReadResult result = receive(deadline, timeoutMs >= 0);
            if (result != ReadResult::Ok) {
                reading = false;
                const std::size_t taken = std::min(input.size(), std::size_t(count));
                std::memcpy(buffer, input.data(), taken);
                input.erase(0, taken);
                *got = long(taken);
                return result;
            }
        }
    }

    // Serial poll of the selected address: false when nothing answers in time.
    bool serialPoll(long timeoutMs, unsigned char* status, bool* lost) {
        *lost = false;
        input.clear();
        reading = false;
        if (!sendRaw("++spoll\n")) {
            *lost = true;
            return false;
        }
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (input.find('\n') == std::string::npos) {
            const ReadResult result = receive(deadline, timeoutMs >= 0);
            if (result == ReadResult::Lost)
                *lost = true;
            if (result != ReadResult::Ok)
                return false;
        }
        *status = static_cast<unsigned char>(std::atoi(input.c_str()));
        input.erase(0, input.find('\n') + 1);
        return true;
    }

private:
    ReadResult receive(std::chrono::steady_clock::time_point deadline, bool bounded) {
        int waitMs = -1;
        if (bounded) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                                  deadline - std::chrono::steady_clock::now())
                                  .count();
            if (left <= 0)
                return ReadResult::Timeout;
            waitMs = int(left);
        }
        pollfd entry{fd, POLLIN, 0};
        const int ready = poll(&entry, 1, waitMs);
        if (ready == 0)
            return ReadResult::Timeout;
        char chunk[4096];
        const ssize_t n = ready > 0 ? recv(fd, chunk, sizeof chunk, 0) : -1;
        if (n <= 0) {
            disconnect();
            return ReadResult::Lost;
        }
        input.append(chunk, std::size_t(n));
        return ReadResult::Ok;
    }

    int fd = -1;
    int currentAddress = -1;
    std::string input;
    bool reading = false;
};

} // namespace fake
