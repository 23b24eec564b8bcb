#include "tests/velmora/loopback.h"

#include <ws2tcpip.h>

#include <chrono>

namespace velmora_test {

namespace {

// The responder stops on its own after this long, whatever the test does.
constexpr auto kLifetime = std::chrono::seconds(20);
constexpr int kMostRequests = 16;

sockaddr_in Loopback(uint16_t port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(port);
    return a;
}

uint16_t BoundPort(SOCKET s) {
    sockaddr_in a{};
    int size = sizeof(a);
    getsockname(s, reinterpret_cast<sockaddr*>(&a), &size);
    return ntohs(a.sin_port);
}

SOCKET BindLoopback(int type) {
    SOCKET s = socket(AF_INET, type, 0);
    if (s == INVALID_SOCKET) return s;
    sockaddr_in a = Loopback(0);
    if (bind(s, reinterpret_cast<sockaddr*>(&a), sizeof(a)) != 0) {
        closesocket(s);
        return INVALID_SOCKET;
    }
    return s;
}

}  // namespace

SntpResponder::SntpResponder(std::string reply, bool echo) : reply_(std::move(reply)), echo_(echo) {
    socket_ = BindLoopback(SOCK_DGRAM);
    if (socket_ == INVALID_SOCKET) return;
    port_ = BoundPort(socket_);
    thread_ = std::thread([this] { Serve(); });
}

SntpResponder::~SntpResponder() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (socket_ != INVALID_SOCKET) closesocket(socket_);
}

std::string SntpResponder::lastRequest() {
    std::lock_guard<std::mutex> hold(lock_);
    return lastRequest_;
}

void SntpResponder::Serve() {
    const auto end = std::chrono::steady_clock::now() + kLifetime;
    while (!stop_ && std::chrono::steady_clock::now() < end && requests_ < kMostRequests) {
        if (!SocketReadable(socket_, 50)) continue;
        char buffer[512];
        sockaddr_in from{};
        int fromSize = sizeof(from);
        const int n = recvfrom(socket_, buffer, sizeof(buffer), 0, reinterpret_cast<sockaddr*>(&from), &fromSize);
        if (n < 0) continue;
        std::string forged;
        {
            std::lock_guard<std::mutex> hold(lock_);
            lastRequest_.assign(buffer, static_cast<size_t>(n));
            forged = forged_;
        }
        ++requests_;
        auto answer = [&](SOCKET from_socket, std::string reply) {
            if (echo_ && n >= 48 && reply.size() >= 32) reply.replace(24, 8, buffer + 40, 8);
            sendto(from_socket, reply.data(), static_cast<int>(reply.size()), 0, reinterpret_cast<sockaddr*>(&from),
                   fromSize);
        };
        if (!forged.empty()) {
            SOCKET other = BindLoopback(SOCK_DGRAM);
            answer(other, forged);
            closesocket(other);
            Sleep(50);
        }
        if (!reply_.empty()) answer(socket_, reply_);
    }
}

std::string SntpReply(uint32_t seconds, uint32_t fraction, int version, int mode, int stratum, int leap) {
    std::string p(48, '\0');
    p[0] = static_cast<char>((leap << 6) | (version << 3) | mode);
    p[1] = static_cast<char>(stratum);
    for (int i = 0; i < 4; ++i) {
        for (int at : {32, 40}) {
            p[at + i] = static_cast<char>(seconds >> (24 - 8 * i));
            p[at + 4 + i] = static_cast<char>(fraction >> (24 - 8 * i));
        }
    }
    return p;
}

uint16_t ClosedUdpPort() {
    SocketLayer layer;
    SOCKET s = BindLoopback(SOCK_DGRAM);
    const uint16_t port = BoundPort(s);
    closesocket(s);
    return port;
}

}  // namespace velmora_test
