#include "tests/support/http_responder.h"

#include <chrono>

namespace {

// The responder stops on its own after this long, whatever the test does.
constexpr auto kLifetime = std::chrono::seconds(20);
constexpr int kMostConnections = 16;

SOCKET ListenLoopback(uint16_t& port) {
    SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
    if (s == INVALID_SOCKET) return s;
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int size = sizeof(a);
    if (bind(s, reinterpret_cast<sockaddr*>(&a), sizeof(a)) != 0 || listen(s, 4) != 0 ||
        getsockname(s, reinterpret_cast<sockaddr*>(&a), &size) != 0) {
        closesocket(s);
        return INVALID_SOCKET;
    }
    port = ntohs(a.sin_port);
    return s;
}

}  // namespace

SocketLayer::SocketLayer() {
    WSADATA data;
    started_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

SocketLayer::~SocketLayer() {
    if (started_) WSACleanup();
}

bool SocketReadable(SOCKET s, long ms) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval tv{ms / 1000, (ms % 1000) * 1000};
    return select(0, &set, nullptr, nullptr, &tv) > 0;
}

HttpResponder::HttpResponder(std::string reply, DWORD delayMs, DWORD trickleMs)
    : reply_(std::move(reply)), delayMs_(delayMs), bodyTrickleMs_(trickleMs) {
    listener_ = ListenLoopback(port_);
    if (listener_ != INVALID_SOCKET) thread_ = std::thread([this] { Serve(); });
}

HttpResponder::~HttpResponder() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (listener_ != INVALID_SOCKET) closesocket(listener_);
}

std::string HttpResponder::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::string HttpResponder::lastRequest() {
    std::lock_guard<std::mutex> hold(lock_);
    return lastRequest_;
}

std::string HttpResponder::Reply(const std::string& status, const std::string& body, const std::string& headers) {
    return "HTTP/1.1 " + status + "\r\n" + headers + "Date: Tue, 03 Jun 2008 09:39:21 GMT\r\nContent-Length: " +
           std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

void HttpResponder::Serve() {
    const auto end = std::chrono::steady_clock::now() + kLifetime;
    while (!stop_ && std::chrono::steady_clock::now() < end && requests_ < kMostConnections) {
        if (!SocketReadable(listener_, 50)) continue;
        SOCKET client = accept(listener_, nullptr, nullptr);
        if (client == INVALID_SOCKET) continue;
        std::string request;
        char buffer[4096];
        while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536 && !stop_) {
            if (!SocketReadable(client, 2000)) break;
            const int n = recv(client, buffer, sizeof(buffer), 0);
            if (n <= 0) break;
            request.append(buffer, static_cast<size_t>(n));
        }
        {
            std::lock_guard<std::mutex> hold(lock_);
            lastRequest_ = request;
        }
        ++requests_;
        for (DWORD waited = 0; waited < delayMs_ && !stop_; waited += 10) Sleep(10);
        // The constructor's trickle sends the header block at once and the body
        // byte by byte; Trickle() sends the whole reply byte by byte.
        const DWORD trickle = trickleMs_;
        const DWORD bodyTrickle = bodyTrickleMs_;
        const size_t head = bodyTrickle ? reply_.find("\r\n\r\n") + 4 : reply_.size();
        for (size_t sent = 0; sent < reply_.size() && !stop_ && std::chrono::steady_clock::now() < end;) {
            size_t piece = sent < head ? head - sent : 1;
            if (trickle) piece = 1;
            if (bodyTrickle && sent >= head) Sleep(bodyTrickle);
            const int n = send(client, reply_.data() + sent, static_cast<int>(piece), 0);
            if (n <= 0) break;
            sent += static_cast<size_t>(n);
            if (trickle) Sleep(trickle);
        }
        shutdown(client, SD_SEND);
        // Let the client read to the end before the socket goes.
        while (SocketReadable(client, 200) && recv(client, buffer, sizeof(buffer), 0) > 0) {
        }
        closesocket(client);
    }
}

uint16_t UnusedTcpPort() {
    SocketLayer layer;
    uint16_t port = 0;
    SOCKET s = ListenLoopback(port);
    if (s != INVALID_SOCKET) closesocket(s);
    return port;
}
