// Small time servers of the test's own on 127.0.0.1: one UDP SNTP responder
// and one HTTP responder, each on a free port, each living at most a few
// seconds and answering a bounded number of requests.
#pragma once

#include <winsock2.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace velmora_test {

// Starts Windows Sockets for the test's own sockets.
class SocketLayer {
public:
    SocketLayer();
    ~SocketLayer();
    SocketLayer(const SocketLayer&) = delete;
    SocketLayer& operator=(const SocketLayer&) = delete;
};

class SntpResponder {
public:
    // Answers every request with the reply bytes (none: stays silent).
    explicit SntpResponder(std::string reply);
    ~SntpResponder();
    SntpResponder(const SntpResponder&) = delete;
    SntpResponder& operator=(const SntpResponder&) = delete;

    uint16_t port() const { return port_; }
    int requests() const { return requests_.load(); }
    std::string lastRequest();

private:
    void Serve();
    SocketLayer layer_;
    SOCKET socket_ = INVALID_SOCKET;
    uint16_t port_ = 0;
    std::string reply_;
    std::atomic<bool> stop_{false};
    std::atomic<int> requests_{0};
    std::mutex lock_;
    std::string lastRequest_;
    std::thread thread_;
};

class HttpResponder {
public:
    // Sends the response text as it stands to every connection, after an
    // optional delay.
    explicit HttpResponder(std::string response, DWORD delayMs = 0);
    ~HttpResponder();
    HttpResponder(const HttpResponder&) = delete;
    HttpResponder& operator=(const HttpResponder&) = delete;

    uint16_t port() const { return port_; }
    int requests() const { return requests_.load(); }
    std::string lastRequest();

private:
    void Serve();
    SocketLayer layer_;
    SOCKET listener_ = INVALID_SOCKET;
    uint16_t port_ = 0;
    std::string response_;
    DWORD delayMs_;
    std::atomic<bool> stop_{false};
    std::atomic<int> requests_{0};
    std::mutex lock_;
    std::string lastRequest_;
    std::thread thread_;
};

// A 48-byte SNTP reply: leap 0, the version and mode given, stratum, and the
// transmit timestamp.
std::string SntpReply(uint32_t seconds, uint32_t fraction, int version = 4, int mode = 4, int stratum = 2,
                      int leap = 0);

// A port on 127.0.0.1 where nothing listens (bound, read and released).
uint16_t ClosedUdpPort();
uint16_t ClosedTcpPort();

}  // namespace velmora_test
